// Code-page conversion between multi-byte text (code page 936, UTF-8) and
// UTF-16, shaped like the Windows calls of the same names, on the C library's
// iconv. Thread-safe: each thread keeps its own converters.
#pragma once

namespace platform {

constexpr unsigned kCodePageAnsi = 0;  // stands for 936 here
constexpr unsigned kCodePage936 = 936;
constexpr unsigned kCodePageUtf8 = 65001;

// Converts `length` bytes of text (-1: up to and including its zero byte) to
// UTF-16 units. With capacity 0 returns the number of units needed; otherwise
// writes them to `out` and returns their number, or 0 when they do not fit or
// the code page is unknown. Malformed input becomes U+FFFD; a code page 936
// character (one or two bytes) always gives exactly one unit.
int MultiByteToWideChar(unsigned codePage, unsigned flags, const char* text, int length,
                        char16_t* out, int capacity);

// Converts `length` UTF-16 units (-1: up to and including the zero unit) to
// text in the code page. With capacity 0 returns the bytes needed; otherwise
// writes them and returns their number, or 0 when they do not fit. A character
// the code page lacks becomes defaultChar's first byte, or '_' when it is null.
int WideCharToMultiByte(unsigned codePage, unsigned flags, const char16_t* units, int length,
                        char* out, int capacity, const char* defaultChar, bool* usedDefault);

}  // namespace platform
