// Cutting a piece out of a text by literal markers. Pure and thread-safe.
#pragma once

#include "text/text.h"

// "#引号" in code page 936: inside a marker it stands for one double quote.
extern const Text kQuoteEscape;

// The text after the first left marker (found from start on) up to the next
// right marker after it; the empty text when either is missing. Inside both
// markers "#引号" stands for a double quote.
Text TextBetween(const Text& text, const Text& left, const Text& right, int start = 0,
                 bool ignoreCase = false);

// Everything in front of an occurrence of marker: the first one at or after
// start, or with a negative start -n the last one within the first
// length - n - 1 bytes (length - 1 for -1). The empty text when none.
Text TextBefore(const Text& text, const Text& marker, int start = 0, bool ignoreCase = false);
