#include "text/primitives.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "text/scan.h"

namespace {

using scan::IsLead;
constexpr size_t npos = std::string_view::npos;

unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

bool EqualFolded(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (Fold(static_cast<unsigned char>(a[i])) != Fold(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// First occurrence at a character start at or after `from` (itself a
// character start), exact or folded.
size_t FindAt(std::string_view hay, std::string_view needle, size_t from, bool ignoreCase) {
  if (!ignoreCase) return scan::FindExact(hay, needle, from);
  const size_t m = needle.size();
  for (size_t pos = from; pos + m <= hay.size();) {
    if (EqualFolded(hay.data() + pos, needle.data(), m)) return pos;
    pos += IsLead(hay[pos]) ? 2 : 1;
  }
  return npos;
}

int64_t Clamp64(int64_t v, int64_t lo, int64_t hi) { return std::min(std::max(v, lo), hi); }

}  // namespace

int TextLength(const Text& text) { return text.size(); }

Text TextLeft(const Text& text, int n) {
  if (n <= 0) return Text();
  return Text(text.view().substr(0, std::min<size_t>(n, text.view().size())));
}

Text TextRight(const Text& text, int n) {
  if (n <= 0) return Text();
  const size_t len = text.view().size();
  const size_t k = std::min<size_t>(n, len);
  return Text(text.view().substr(len - k));
}

Text TextMid(const Text& text, int start, int n) {
  const int len = text.size();
  if (start < 1 || start > len || n <= 0) return Text();
  const int k = std::min(n, len - start + 1);
  return Text(text.view().substr(start - 1, k));
}

Text CharFromCode(int code) {
  const char c = static_cast<char>(code & 0xFF);
  return Text(std::string_view(&c, 1));
}

int CharCode(const Text& text, int position) {
  if (position < 1 || position > text.size()) return 0;
  return static_cast<signed char>(text.view()[position - 1]);
}

int FindText(const Text& text, const Text& sought, int start, bool ignoreCase) {
  const int64_t len = text.size();
  if (int64_t{start} - 1 >= len) return -1;
  const size_t origin = start > 1 ? static_cast<size_t>(start - 1) : 0;
  if (sought.empty()) return origin < static_cast<size_t>(len) ? 1 : -1;
  const size_t hit = FindAt(text.view(), sought.view(), origin, ignoreCase);
  return hit == npos ? -1 : static_cast<int>(hit) + 1;
}

int FindTextReverse(const Text& text, const Text& sought, std::optional<int> start,
                    bool ignoreCase) {
  const int64_t len = text.size();
  const int64_t b = start ? Clamp64(int64_t{*start} - 1, 0, len) : len;
  if (sought.empty()) return b > 0 ? 1 : -1;
  const std::string_view region = text.view().substr(0, static_cast<size_t>(b));
  size_t last = npos;
  for (size_t from = 0; from < region.size();) {
    const size_t hit = FindAt(region, sought.view(), from, ignoreCase);
    if (hit == npos) break;
    last = hit;
    from = hit + (IsLead(region[hit]) ? 2 : 1);
  }
  return last == npos ? -1 : static_cast<int>(last) + 1;
}

namespace {

Text MapLetters(const Text& text, char from, char to, int shift) {
  std::string out(text.view());
  for (size_t i = 0; i < out.size();) {
    if (IsLead(out[i])) {
      i += 2;
      continue;
    }
    if (out[i] >= from && out[i] <= to) out[i] = static_cast<char>(out[i] + shift);
    ++i;
  }
  return Text(out);
}

bool IsBlankAt(std::string_view s, size_t i, size_t* width) {
  if (s[i] == ' ') {
    *width = 1;
    return true;
  }
  if (static_cast<unsigned char>(s[i]) == 0xA1 && i + 1 < s.size() &&
      static_cast<unsigned char>(s[i + 1]) == 0xA1) {
    *width = 2;
    return true;
  }
  return false;
}

}  // namespace

Text ToUpperText(const Text& text) { return MapLetters(text, 'a', 'z', 'A' - 'a'); }
Text ToLowerText(const Text& text) { return MapLetters(text, 'A', 'Z', 'a' - 'A'); }

int TextToInt(const Text& text) {
  // Full-width ASCII forms (0xA3 0xA1..0xFE) and the full-width blank count as
  // their half-width twins.
  std::string s;
  const std::string_view v = text.view();
  for (size_t i = 0; i < v.size();) {
    const unsigned char c = static_cast<unsigned char>(v[i]);
    if (c >= 0x80 && i + 1 < v.size()) {
      const unsigned char d = static_cast<unsigned char>(v[i + 1]);
      if (c == 0xA3 && d >= 0xA1 && d <= 0xFE) {
        s.push_back(static_cast<char>(d - 0x80));
      } else if (c == 0xA1 && d == 0xA1) {
        s.push_back(' ');
      } else {
        s.append(v.substr(i, 2));
      }
      i += 2;
    } else {
      s.push_back(static_cast<char>(c));
      ++i;
    }
  }
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= 0x09 && s[i] <= 0x0D))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  uint32_t value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(s[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

Text TrimBoth(const Text& text) {
  const std::string_view s = text.view();
  size_t begin = 0, width = 0;
  while (begin < s.size() && IsBlankAt(s, begin, &width)) begin += width;
  // The trailing run is found by stepping from the front, so that a 0xA1 0xA1
  // pair counts only where a character begins.
  size_t runStart = npos;
  size_t pos = begin;
  while (pos < s.size()) {
    if (IsBlankAt(s, pos, &width)) {
      if (runStart == npos) runStart = pos;
      pos += width;
    } else {
      runStart = npos;
      pos += IsLead(s[pos]) ? 2 : 1;
    }
  }
  const size_t end = runStart == npos ? s.size() : runStart;
  return Text(s.substr(begin, end - begin));
}

Text ReplaceText(const Text& text, const Text& sought, const Text& replacement, int start,
                 std::optional<int> count, bool caseSensitive) {
  const std::string_view s = text.view();
  const std::string_view needle = sought.view();
  if (s.empty() || needle.empty() || int64_t{start} - 1 >= int64_t{text.size()} ||
      (count && *count == 0)) {
    return text;
  }
  size_t pos = start > 1 ? static_cast<size_t>(start - 1) : 0;
  std::string out(s.substr(0, pos));
  int64_t left = count ? *count : -1;
  while (true) {
    const size_t hit = FindAt(s, needle, pos, !caseSensitive);
    if (hit == npos) break;
    out.append(s.substr(pos, hit - pos));
    out.append(replacement.view());
    pos = hit + needle.size();
    if (left > 0 && --left == 0) break;
  }
  out.append(s.substr(pos));
  return Text(out);
}

TextList SplitText(const Text& text, const Text& separator, std::optional<int> maxCount) {
  TextList list;
  if (text.empty() || (maxCount && *maxCount <= 0)) return list;
  if (separator.empty()) return {text};
  const std::string_view s = text.view();
  const std::string_view sep = separator.view();
  const size_t limit = maxCount ? static_cast<size_t>(*maxCount) : SIZE_MAX;
  size_t pos = 0;
  while (true) {
    const size_t hit = scan::FindExact(s, sep, pos);
    if (hit == npos) break;
    list.emplace_back(s.substr(pos, hit - pos));
    pos = hit + sep.size();
    if (list.size() >= limit) return list;
  }
  if (pos < s.size()) list.emplace_back(s.substr(pos));
  return list;
}

Bytes TextToBytes(const Text& text) { return Bytes(text.view()); }
Text BytesToText(const Bytes& bytes) { return Text(bytes.view()); }
Text BlankText(int n) { return n <= 0 ? Text() : Text(std::string(n, ' ')); }
Bytes BlankBytes(int n) { return n <= 0 ? Bytes() : Bytes(std::string(n, '\0')); }
int BytesLength(const Bytes& bytes) { return bytes.size(); }

Bytes BytesLeft(const Bytes& bytes, int n) {
  const int k = std::max(0, std::min(n, bytes.size()));
  return Bytes(bytes.view().substr(0, k));
}

Bytes BytesMid(const Bytes& bytes, int start, int n) {
  const int64_t len = bytes.size();
  const int64_t origin = Clamp64(int64_t{start} - 1, 0, len);
  const int64_t k = std::min<int64_t>(std::max(n, 0), len - origin);
  return Bytes(bytes.view().substr(origin, k));
}

Text NumberToText(int value) {
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return Text(std::string_view(buf, r.ptr - buf));
}

Text NumberToText(double value) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 13);
  return Text(std::string_view(buf, r.ptr - buf));
}

Text DateTimeToText(const DateTime& v) {
  // 年 月 日 时 分 秒 in code page 936.
  static const Text kYear("\xc4\xea"), kMonth("\xd4\xc2"), kDay("\xc8\xd5");
  static const Text kHour("\xca\xb1"), kMinute("\xb7\xd6"), kSecond("\xc3\xeb");
  Text out = ConcatTexts(
      {NumberToText(v.year), kYear, NumberToText(v.month), kMonth, NumberToText(v.day), kDay});
  if (v.second != 0) {
    out.Append(ConcatTexts({NumberToText(v.hour), kHour, NumberToText(v.minute), kMinute,
                            NumberToText(v.second), kSecond}));
  } else if (v.minute != 0) {
    out.Append(ConcatTexts({NumberToText(v.hour), kHour, NumberToText(v.minute), kMinute}));
  } else if (v.hour != 0) {
    out.Append(ConcatTexts({NumberToText(v.hour), kHour}));
  }
  return out;
}

Text ConcatTexts(std::initializer_list<Text> texts) {
  std::string out;
  for (const Text& t : texts) out.append(t.view());
  return Text(out);
}

Bytes ConcatBytes(std::initializer_list<Bytes> buffers) {
  std::string out;
  for (const Bytes& b : buffers) out.append(b.view());
  return Bytes(std::move(out));
}

bool TextEquals(const Text& a, const Text& b) { return a.view() == b.view(); }
bool BytesEqual(const Bytes& a, const Bytes& b) { return a.view() == b.view(); }
int ListCount(const TextList& list) { return static_cast<int>(list.size()); }

int BitOr(std::initializer_list<int> values) {
  int out = 0;
  for (int v : values) out |= v;
  return out;
}
