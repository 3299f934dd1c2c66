// Fast searching in code page 936 text that honours character boundaries.
// Internal to the text library; pure and thread-safe.
#pragma once

#include <string_view>

namespace scan {

inline bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// The 0-based offset of the first exact occurrence of needle that starts a
// character, at or after `from`, or npos. REQUIRES: `from` starts a character.
//
// A byte search finds candidates; a candidate starts a character exactly when
// the run of bytes 0x80-0xFF just before it (back to `from` at most) has even
// length, because every byte below 0x80 ends a character.
inline size_t FindExact(std::string_view hay, std::string_view needle, size_t from) {
  while (from <= hay.size()) {
    const size_t hit = hay.find(needle, from);
    if (hit == std::string_view::npos) return hit;
    size_t k = hit;
    while (k > from && IsLead(hay[k - 1])) --k;
    if ((hit - k) % 2 == 0) return hit;
    from = hit + 1;  // hit is the second byte of a character
  }
  return std::string_view::npos;
}

}  // namespace scan
