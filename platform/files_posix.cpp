#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <ctime>
#include <mutex>
#include <string>

#include "platform/codepage.h"
#include "platform/files.h"

namespace platform {
namespace {

std::mutex g_seamMutex;
Text g_runDirectoryOverride;
std::function<DateTime()> g_clockOverride;

std::string Convert(std::string_view in, unsigned from, unsigned to) {
  if (in.empty()) return std::string();
  const std::string z(in);
  const int units = MultiByteToWideChar(from, 0, z.c_str(), -1, nullptr, 0);
  std::u16string wide(units, u'\0');
  MultiByteToWideChar(from, 0, z.c_str(), -1, wide.data(), units);
  const int bytes = WideCharToMultiByte(to, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(bytes, '\0');
  WideCharToMultiByte(to, 0, wide.data(), -1, out.data(), bytes, nullptr, nullptr);
  if (!out.empty()) out.pop_back();  // the terminating zero
  return out;
}

bool IsReservedDeviceName(std::string_view name) {
  std::string base(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
         base[3] >= '1' && base[3] <= '9';
}

// Whether a Windows folder may carry this (UTF-8) name, so that folders stay
// portable and the program behaves alike everywhere.
bool IsAllowedFolderName(std::string_view name) {
  if (name.empty()) return true;  // the path names an existing directory; mkdir says no
  for (unsigned char c : name) {
    if (c < 0x20 ||
        std::string_view("<>:\"|?*\\").find(static_cast<char>(c)) != std::string_view::npos) {
      return false;
    }
  }
  if (name.back() == ' ' || name.back() == '.') return false;
  return !IsReservedDeviceName(name);
}

}  // namespace

std::string NativePath(const Text& path) {
  return Convert(path.view(), kCodePage936, kCodePageUtf8);
}

Text TextFromNative(std::string_view native) {
  return Text(Convert(native, kCodePageUtf8, kCodePage936));
}

Text RunDirectory() {
  {
    std::lock_guard lock(g_seamMutex);
    if (!g_runDirectoryOverride.empty()) return g_runDirectoryOverride;
  }
  static const Text directory = [] {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string exe = n > 0 ? std::string(buf, n) : std::string(".");
    const size_t slash = exe.rfind('/');
    exe = slash == std::string::npos ? "." : (slash == 0 ? "/" : exe.substr(0, slash));
    return TextFromNative(exe);
  }();
  return directory;
}

DateTime CurrentDateTime() {
  {
    std::lock_guard lock(g_seamMutex);
    if (g_clockOverride) return g_clockOverride();
  }
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

bool CreateFolder(const Text& path) {
  const std::string native = NativePath(path);
  if (native.empty()) return false;
  const size_t slash = native.rfind('/');
  const std::string_view name = slash == std::string::npos
                                    ? std::string_view(native)
                                    : std::string_view(native).substr(slash + 1);
  if (!IsAllowedFolderName(name)) return false;
  return mkdir(native.c_str(), 0777) == 0;
}

bool WriteFileBuffers(const Text& path, std::initializer_list<const Bytes*> buffers) {
  const std::string native = NativePath(path);
  if (native.empty()) return false;
  static std::atomic<unsigned> counter{0};
  const size_t slash = native.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
  const std::string temp = folder + "." + name + "." + std::to_string(getpid()) + "-" +
                           std::to_string(counter.fetch_add(1)) + ".part";
  // 0666 under the umask: the permissions a plain create gives.
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  for (const Bytes* b : buffers) {
    const char* p = b->data();
    size_t left = static_cast<size_t>(b->size());
    while (ok && left > 0) {
      const ssize_t w = write(fd, p, left);
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        ok = false;
        break;
      }
      p += w;
      left -= static_cast<size_t>(w);
    }
  }
  if (close(fd) != 0) ok = false;
  if (ok && rename(temp.c_str(), native.c_str()) != 0) ok = false;
  if (!ok) unlink(temp.c_str());
  return ok;
}

void SetRunDirectoryForTesting(const Text& directory) {
  std::lock_guard lock(g_seamMutex);
  g_runDirectoryOverride = directory;
}

void SetClockForTesting(std::function<DateTime()> clock) {
  std::lock_guard lock(g_seamMutex);
  g_clockOverride = std::move(clock);
}

}  // namespace platform
