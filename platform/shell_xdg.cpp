#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "platform/files.h"
#include "platform/shell.h"

extern char** environ;

namespace platform {
namespace {

std::mutex g_openerMutex;
std::function<void(const Text&)> g_opener;

// Starts xdg-open in a session of its own; a detached thread reaps it, so
// that no zombie stays behind and the caller never waits for it.
void OpenWithDesktop(const Text& target) {
  std::string arg = NativePath(target);
  char name[] = "xdg-open";
  char* argv[] = {name, arg.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  pid_t child = -1;
  const int rc = posix_spawnp(&child, "xdg-open", &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return;
  try {
    std::thread([child] {
      int status;
      while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
  }
}

}  // namespace

void ShellOpen(const Text& target) {
  std::function<void(const Text&)> opener;
  {
    std::lock_guard lock(g_openerMutex);
    opener = g_opener;
  }
  if (opener) {
    opener(target);
  } else {
    OpenWithDesktop(target);
  }
}

void SetShellOpenerForTesting(std::function<void(const Text&)> opener) {
  std::lock_guard lock(g_openerMutex);
  g_opener = std::move(opener);
}

}  // namespace platform
