// Preparing the block of extra request headers: lines "Name: value" joined
// by CR LF. Pure and thread-safe.
#pragma once

#include "text/text.h"

extern const Text kDefaultUserAgent;

// Each name capitalised word by word (at '-'); lines without ':' dropped.
Text NormalizeHeaderNames(const Text& block);
// The word with its first byte upper-cased when it is a letter a-z.
Text CapitalizeFirst(const Text& word);
// The text after the first ':', trimmed of blanks.
Text HeaderValue(const Text& line);
// The block's User-Agent value, or the default agent.
Text PickUserAgent(const Text& extraHeaders);
// Adds the missing Accept, Referer, Accept-Language and, for POST (1), Content-Type lines.
Text CompleteRequestHeaders(const Text& block, const Text& url, int method);
// Adds the cookie line; cookies holding "Cookie:" are taken as a whole line.
Text AppendCookieHeader(const Text& block, const Text& cookies);
