// One synchronous HTTP request with any of eight methods, returning the body
// and, through the pointers given, the headers and cookies. Blocks the calling
// thread; keeps no state, so threads may call it at once.
#pragma once

#include "text/text.h"

// The parameters after url, in their order. A pointer left null is a
// by-reference parameter the caller left out; for cookies that matters.
struct WebRequestOptions {
  int method = 0;  // 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT
  Text postText = {};
  Text* cookies = nullptr;
  Text* returnedCookies = nullptr;
  Text* extraHeaders = nullptr;
  Text* returnedHeaders = nullptr;
  bool noRedirect = false;
  Bytes* postBytes = nullptr;
  Text proxy = {};
  bool mergeCookies = true;
  bool completeHeaders = true;
  bool normalizeHeaders = true;
};

// The response body; empty when no handle could be opened or nothing arrived.
Bytes WebRequest(const Text& url, const WebRequestOptions& options = {});
