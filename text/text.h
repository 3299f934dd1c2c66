// The value types every routine of the program works with: Text (code page 936
// bytes that never hold a zero byte), Bytes (any bytes), TextList and DateTime.
// Values only; safe to use from any thread as long as one value is not written
// by two threads at once.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// A code page 936 byte string. It never holds a zero byte: making one from
// bytes keeps only those before the first zero. The empty text stands for an
// absent text as well.
class Text {
 public:
  Text() = default;
  Text(const char* s) : bytes_(s ? s : "") {}  // NOLINT: literals convert implicitly
  Text(std::string_view s) : bytes_(s.substr(0, ZeroAt(s))) {}
  Text(const std::string& s) : Text(std::string_view(s)) {}

  std::string_view view() const { return bytes_; }
  const std::string& str() const { return bytes_; }
  const char* c_str() const { return bytes_.c_str(); }
  int size() const { return static_cast<int>(bytes_.size()); }
  bool empty() const { return bytes_.empty(); }
  unsigned char at(int i) const { return static_cast<unsigned char>(bytes_[i]); }

  // Appends bytes up to (not including) their first zero.
  void Append(std::string_view s) { bytes_.append(s.substr(0, ZeroAt(s))); }
  void Append(const Text& t) { bytes_.append(t.bytes_); }
  void Append(const char* s) { bytes_.append(s ? s : ""); }

  friend bool operator==(const Text&, const Text&) = default;

 private:
  static size_t ZeroAt(std::string_view s) {
    const void* z = s.empty() ? nullptr : std::memchr(s.data(), 0, s.size());
    return z ? static_cast<size_t>(static_cast<const char*>(z) - s.data()) : s.size();
  }
  std::string bytes_;
};

// A byte buffer with its length; it may hold zero bytes.
class Bytes {
 public:
  Bytes() = default;
  explicit Bytes(std::string_view s) : bytes_(s) {}
  explicit Bytes(std::string s) : bytes_(std::move(s)) {}
  explicit Bytes(const char* s) : bytes_(s ? s : "") {}

  std::string_view view() const { return bytes_; }
  const std::string& str() const { return bytes_; }
  char* data() { return bytes_.data(); }
  const char* data() const { return bytes_.data(); }
  int size() const { return static_cast<int>(bytes_.size()); }
  bool empty() const { return bytes_.empty(); }
  void Append(std::string_view s) { bytes_.append(s); }

  friend bool operator==(const Bytes&, const Bytes&) = default;

 private:
  std::string bytes_;
};

// An ordered list of texts; the routines number its members from 1.
using TextList = std::vector<Text>;

// A local calendar date and time of day, to whole seconds.
struct DateTime {
  int year = 0;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};
