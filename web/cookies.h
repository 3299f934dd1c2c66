// Cookie strings: entries "name=value" joined by "; ". Pure and thread-safe.
#pragma once

#include "text/text.h"

// Folds newCookies into oldCookies: new entries first, then the old ones whose
// names the new string does not name; "=deleted" entries and exact duplicates
// dropped. Leaves the result in oldCookies and newCookies normalised.
Text MergeCookies(Text& oldCookies, Text& newCookies);
// The entry's name: the text before its first '=', trimmed.
Text CookieName(const Text& entry);
bool HasCookie(const TextList& entries, const Text& name);
// The pieces (split at separator, or into characters), each at its first place only.
Text JoinUnique(const Text& text, const Text& separator, bool splitBySeparator);
// Fills list with the text's characters (CR LF counts as one); returns their number.
int SplitCharacters(const Text& text, TextList& list);
// The 1-based index of the first element equal to text, or -1.
int ListIndexOf(const TextList& list, const Text& text);
