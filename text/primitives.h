// The text, byte, list and number primitives every other routine is built on.
// Positions are 1-based byte positions; a search that finds nothing gives -1.
// Routines marked "double-byte" step over code page 936 characters: a byte
// 0x80-0xFF begins a two-byte character. All are pure and thread-safe.
#pragma once

#include <initializer_list>
#include <optional>

#include "text/text.h"

int TextLength(const Text& text);
Text TextLeft(const Text& text, int n);
Text TextRight(const Text& text, int n);
Text TextMid(const Text& text, int start, int n);
// A one-byte text holding the low 8 bits of code; the empty text for a zero byte.
Text CharFromCode(int code);
// The byte at position as a signed value -128..127; 0 outside the text.
int CharCode(const Text& text, int position = 1);

// Double-byte. The first occurrence of sought at or after start (start <= 1
// searches from the first byte); an empty sought gives 1 while bytes remain.
int FindText(const Text& text, const Text& sought, int start = 0, bool ignoreCase = false);
// Double-byte. The last occurrence lying wholly within the first start - 1
// bytes (the whole text when start is omitted).
int FindTextReverse(const Text& text, const Text& sought, std::optional<int> start = std::nullopt,
                    bool ignoreCase = false);

Text ToUpperText(const Text& text);  // double-byte; ASCII letters only
Text ToLowerText(const Text& text);  // double-byte; ASCII letters only
// Double-byte. Leading blanks, an optional sign, decimal digits (full-width
// forms count as their ASCII twins); 32-bit wrap-around; 0 without digits.
int TextToInt(const Text& text);
// Double-byte. Removes half-width (0x20) and full-width (0xA1 0xA1) blanks at both ends.
Text TrimBoth(const Text& text);
// Double-byte. Replaces up to count occurrences (all when omitted) from start on.
// Note the flag's sense: caseSensitive false folds ASCII letters.
Text ReplaceText(const Text& text, const Text& sought, const Text& replacement = Text(),
                 int start = 1, std::optional<int> count = std::nullopt,
                 bool caseSensitive = false);
// Double-byte. Splits at an exact separator; a trailing separator gives no empty
// last member; at most maxCount members.
TextList SplitText(const Text& text, const Text& separator = Text(","),
                   std::optional<int> maxCount = std::nullopt);

Bytes TextToBytes(const Text& text);
Text BytesToText(const Bytes& bytes);
Text BlankText(int n);
Bytes BlankBytes(int n);
int BytesLength(const Bytes& bytes);
Bytes BytesLeft(const Bytes& bytes, int n);
Bytes BytesMid(const Bytes& bytes, int start, int n);

Text NumberToText(int value);     // as "%d"
Text NumberToText(double value);  // as "%.13g", independent of the locale
// 2024年3月5日14时7分9秒; trailing zero parts of the time are left out.
Text DateTimeToText(const DateTime& value);

Text ConcatTexts(std::initializer_list<Text> texts);
Bytes ConcatBytes(std::initializer_list<Bytes> buffers);
bool TextEquals(const Text& a, const Text& b);
bool BytesEqual(const Bytes& a, const Bytes& b);
int ListCount(const TextList& list);
int BitOr(std::initializer_list<int> values);
