#include <errno.h>
#include <iconv.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/codepage.h"

namespace platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char kDefaultChar = '_';

enum class Page { kGbk, kUtf8, kUnknown };

Page PageOf(unsigned codePage) {
  if (codePage == kCodePageAnsi || codePage == kCodePage936) return Page::kGbk;
  if (codePage == kCodePageUtf8) return Page::kUtf8;
  return Page::kUnknown;
}

// One converter per direction and thread, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much of [in, in + inLeft) as it can; returns false on a
  // malformed or unmappable sequence (errno tells which) with the pointers
  // advanced to it.
  bool Run(const char** in, size_t* inLeft, std::string* out) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      errno = EILSEQ;
      return false;
    }
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buf[512];
    while (*inLeft > 0) {
      char* o = buf;
      size_t oLeft = sizeof buf;
      char* i = const_cast<char*>(*in);
      const size_t r = iconv(cd_, &i, inLeft, &o, &oLeft);
      const int err = errno;
      *in = i;
      out->append(buf, sizeof buf - oLeft);
      if (r == static_cast<size_t>(-1) && err != E2BIG) {
        errno = err;
        return false;
      }
    }
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& ToUtf16(Page page) {
  thread_local Converter gbk("UTF-16LE", "CP936");
  thread_local Converter utf8("UTF-16LE", "UTF-8");
  return page == Page::kGbk ? gbk : utf8;
}

Converter& FromUtf16(Page page) {
  thread_local Converter gbk("CP936", "UTF-16LE");
  thread_local Converter utf8("UTF-8", "UTF-16LE");
  return page == Page::kGbk ? gbk : utf8;
}

void AppendUnit(std::u16string* out, const std::string& le, size_t at) {
  out->push_back(static_cast<char16_t>(static_cast<unsigned char>(le[at]) |
                                       (static_cast<unsigned char>(le[at + 1]) << 8)));
}

// The length of the run of bytes below 0x80 at the start of [s, s + n).
size_t AsciiRun(const char* s, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, s + i, 8);
    if (word & 0x8080808080808080ull) break;
  }
  while (i < n && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

// Decodes bytes to UTF-16 units. Runs of ASCII are widened directly; every
// other stretch goes through iconv.
std::u16string Decode(Page page, const char* s, size_t n) {
  std::u16string units;
  units.reserve(n + 1);
  std::string le;
  size_t i = 0;
  while (i < n) {
    const size_t run = AsciiRun(s + i, n - i);
    if (run > 0) {
      const size_t at = units.size();
      units.resize(at + run);
      char16_t* out = units.data() + at;
      for (size_t k = 0; k < run; ++k) out[k] = static_cast<unsigned char>(s[i + k]);
      i += run;
      continue;
    }
    // The stretch runs to the next character that is plain ASCII; in code page
    // 936 a second byte may itself lie below 0x80.
    size_t j = i;
    while (j < n && static_cast<unsigned char>(s[j]) >= 0x80) j += page == Page::kGbk ? 2 : 1;
    if (j > n) j = n;
    const char* in = s + i;
    size_t left = j - i;
    while (left > 0) {
      le.clear();
      const bool whole = ToUtf16(page).Run(&in, &left, &le);
      for (size_t k = 0; k + 1 < le.size(); k += 2) AppendUnit(&units, le, k);
      if (whole) break;
      units.push_back(kReplacement);
      // A sequence cut off by the end of the text is one malformed character;
      // a code page 936 character is two bytes even when it is malformed, so
      // that every character stays one unit.
      const size_t skip = errno == EINVAL ? left : (page == Page::kGbk ? 2 : 1);
      const size_t k = left < skip ? left : skip;
      in += k;
      left -= k;
    }
    i = j;
  }
  return units;
}

char16_t UnitAt(const char16_t* units, size_t i) {
  char16_t u;
  std::memcpy(&u, reinterpret_cast<const char*>(units) + 2 * i, sizeof u);
  return u;
}

std::string Encode(Page page, const char16_t* units, size_t n, char defaultChar, bool* used) {
  std::string out;
  out.reserve(n);
  std::string le;
  size_t i = 0;
  while (i < n) {
    const char16_t u = UnitAt(units, i);
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
      ++i;
      continue;
    }
    size_t j = i;
    while (j < n && UnitAt(units, j) >= 0x80) ++j;
    le.assign(reinterpret_cast<const char*>(units) + 2 * i, 2 * (j - i));
    const char* in = le.data();
    size_t left = le.size();
    while (left > 0) {
      if (FromUtf16(page).Run(&in, &left, &out)) break;
      // Unmappable or a lone surrogate: one default character per code point.
      if (page == Page::kUtf8) {
        out.append("\xEF\xBF\xBD");
      } else {
        out.push_back(defaultChar);
        if (used) *used = true;
      }
      size_t skip = 2;
      if (left >= 4) {
        char16_t hi;
        char16_t lo;
        std::memcpy(&hi, in, 2);
        std::memcpy(&lo, in + 2, 2);
        if (hi >= 0xD800 && hi < 0xDC00 && lo >= 0xDC00 && lo < 0xE000) skip = 4;
      }
      if (skip > left) skip = left;
      in += skip;
      left -= skip;
    }
    i = j;
  }
  return out;
}

}  // namespace

int MultiByteToWideChar(unsigned codePage, unsigned /*flags*/, const char* text, int length,
                        char16_t* out, int capacity) {
  const Page page = PageOf(codePage);
  if (page == Page::kUnknown || text == nullptr || capacity < 0) return 0;
  const bool terminated = length < 0;
  const size_t n = terminated ? std::strlen(text) : static_cast<size_t>(length);
  std::u16string units = Decode(page, text, n);
  if (terminated) units.push_back(0);
  const int count = static_cast<int>(units.size());
  if (capacity == 0) return count;
  if (out == nullptr || capacity < count) return 0;
  std::memcpy(out, units.data(), units.size() * sizeof(char16_t));
  return count;
}

int WideCharToMultiByte(unsigned codePage, unsigned /*flags*/, const char16_t* units, int length,
                        char* out, int capacity, const char* defaultChar, bool* usedDefault) {
  const Page page = PageOf(codePage);
  if (usedDefault) *usedDefault = false;
  if (page == Page::kUnknown || units == nullptr || capacity < 0) return 0;
  const bool terminated = length < 0;
  size_t n = 0;
  if (terminated) {
    while (UnitAt(units, n) != 0) ++n;
  } else {
    n = static_cast<size_t>(length);
  }
  const char fallback = defaultChar && *defaultChar ? *defaultChar : kDefaultChar;
  std::string bytes = Encode(page, units, n, fallback, usedDefault);
  if (terminated) bytes.push_back('\0');
  const int count = static_cast<int>(bytes.size());
  if (capacity == 0) return count;
  if (out == nullptr || capacity < count) return 0;
  std::memcpy(out, bytes.data(), bytes.size());
  return count;
}

}  // namespace platform
