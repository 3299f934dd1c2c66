// Percent-decoding and conversion between code pages and UTF-16. Pure and
// thread-safe.
#pragma once

#include "text/text.h"

// Decodes every '%' and the two hexadecimal digits after it (no other escape;
// '+' stays), then, when fromUtf8, converts the UTF-8 result to code page 936.
Text PercentDecode(const Text& text, bool fromUtf8 = false);
// The characters of a UTF-8 text in code page 936.
Text Utf8ToAnsi(const Text& text);
// The text's UTF-16 units, little-endian, followed by one zero unit.
Bytes TextToWide(const Text& text, int codePage = 65001);
// The units of a UTF-16 buffer, up to its first zero unit, in the code page
// (0 stands for 936).
Text WideToText(const Bytes& wide, int codePage = 0);
