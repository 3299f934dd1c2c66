#include "tools/note_site_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

NoteSite::NoteSite() {
  char templ[] = "/tmp/vellacrop-site-XXXXXX";
  dir_ = mkdtemp(templ);
  const std::string script = std::string(VELLACROP_SOURCE_DIR) + "/tools/note_site.py";
  const std::string log = dir_ + "/requests.log";
  int out[2];
  if (pipe(out) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string args[] = {"python3", script,  "--port", "0",          "--https-port",
                        "0",       "--log", log,      "--cert-dir", dir_};
  char* argv[11];
  for (int i = 0; i < 10; ++i) argv[i] = args[i].data();
  argv[10] = nullptr;
  if (posix_spawnp(&pid_, "python3", &actions, nullptr, argv, environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  FILE* f = fdopen(out[0], "r");
  char line[256] = {0};
  if (pid_ > 0 && f && fgets(line, sizeof line, f)) {
    std::sscanf(line, "READY http=%d https=%d", &httpPort_, &httpsPort_);
  }
  if (f) fclose(f);
}

NoteSite::~NoteSite() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  std::filesystem::remove_all(dir_);
}

std::string NoteSite::Http(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(httpPort_) + path;
}

std::string NoteSite::Https(const std::string& path) const {
  return "https://127.0.0.1:" + std::to_string(httpsPort_) + path;
}

std::string NoteSite::Log() const {
  std::ifstream in(dir_ + "/requests.log");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
