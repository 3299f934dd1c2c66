// Taking a web address apart: host, port and path. Pure and thread-safe.
#pragma once

#include <optional>

#include "text/text.h"

// The host of url, lower-cased; with keepPort its ":port" stays; domainOnly
// keeps its last two labels, or with suffixDots n its last n + 1 labels
// (n + 2 without domainOnly).
Text UrlHost(const Text& url, bool domainOnly = false, bool keepPort = false,
             std::optional<int> suffixDots = std::nullopt);
// The port after the host, or 443 for an https address and 80 otherwise.
int UrlPort(const Text& url);
// Everything from the first '/' after the host on; "/" when there is none.
Text UrlPath(const Text& url);
