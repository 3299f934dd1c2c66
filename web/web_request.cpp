#include "web/web_request.h"

#include "platform/http.h"
#include "text/primitives.h"
#include "text/text_between.h"
#include "web/cookies.h"
#include "web/headers.h"
#include "web/url.h"

namespace {

const char* const kMethods[] = {"GET",     "POST",   "HEAD",  "PUT",
                                "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr unsigned kSecurityFlags = 127872;  // every certificate error ignored
constexpr int kChunk = 1024;
constexpr int kHeaderBuffer = 5000;

Text CollectCookies(const Text& headers) {
  Text cookies;
  for (const Text& line : SplitText(headers, "\r\n")) {
    if (!TextEquals(TextBefore(line, ": "), "Set-Cookie")) continue;
    Text cookie;
    if (FindText(line, ";", 1, false) != -1) {
      cookie = TrimBoth(TextBetween(line, "Set-Cookie:", ";"));
    } else {
      cookie = TrimBoth(ReplaceText(line, "Set-Cookie:", Text(), 1, {}, false));
    }
    cookies = ConcatTexts({cookies, cookie, "; "});
  }
  return TextLeft(cookies, TextLength(cookies) - 2);
}

}  // namespace

Bytes WebRequest(const Text& url, const WebRequestOptions& o) {
  // Parameters the caller left out act as fresh variables.
  Text extraLocal, returnedHeadersLocal, returnedCookiesLocal;
  Bytes postLocal;
  Text& extraHeaders = o.extraHeaders ? *o.extraHeaders : extraLocal;
  Text& returnedHeaders = o.returnedHeaders ? *o.returnedHeaders : returnedHeadersLocal;
  Text& returnedCookies = o.returnedCookies ? *o.returnedCookies : returnedCookiesLocal;
  Bytes& postBytes = o.postBytes ? *o.postBytes : postLocal;
  const bool cookiesGiven = o.cookies != nullptr;

  if (o.normalizeHeaders) extraHeaders = NormalizeHeaderNames(extraHeaders);
  const int method = (o.method < 0 || o.method > 7) ? 0 : o.method;
  const bool https = TextEquals(TextLeft(ToLowerText(url), 8), "https://");
  const Text agent = PickUserAgent(extraHeaders);

  using namespace platform;
  const Text proxyList = https ? o.proxy : ConcatTexts({"http=", o.proxy});
  InternetHandle root =
      o.proxy.empty()
          ? InternetOpenA(agent.c_str(), kInternetOpenTypeDirect, nullptr, nullptr, 0)
          : InternetOpenA(agent.c_str(), kInternetOpenTypeProxy, proxyList.c_str(), "", 0);
  if (!root) return Bytes();
  InternetHandle connection = InternetConnectA(root, UrlHost(url).c_str(), UrlPort(url), nullptr,
                                               nullptr, kInternetServiceHttp, 0, 0);
  if (!connection) {
    InternetCloseHandle(root);
    return Bytes();
  }
  unsigned flags = kInternetFlagReload | kInternetFlagNeedFile;
  if (cookiesGiven) flags |= kInternetFlagNoCookies;
  if (o.noRedirect) flags |= kInternetFlagNoAutoRedirect;
  flags |= https ? kInternetFlagSecure : kInternetFlagIgnoreRedirectToHttps;
  InternetHandle request = HttpOpenRequestA(connection, kMethods[method], UrlPath(url).c_str(),
                                            "HTTP/1.1", nullptr, nullptr, flags, 0);
  if (!request) {
    InternetCloseHandle(connection);
    InternetCloseHandle(root);
    return Bytes();
  }
  const unsigned security = kSecurityFlags;
  InternetSetOptionA(request, kInternetOptionSecurityFlags, &security, 4);

  if (o.completeHeaders) extraHeaders = CompleteRequestHeaders(extraHeaders, url, method);
  extraHeaders = AppendCookieHeader(extraHeaders, cookiesGiven ? *o.cookies : Text());

  if (method == 0) {
    HttpSendRequestA(request, extraHeaders.c_str(), TextLength(extraHeaders), nullptr, 0);
  } else {
    if (postBytes.empty()) postBytes = TextToBytes(o.postText);
    HttpSendRequestA(request, extraHeaders.c_str(), TextLength(extraHeaders), postBytes.data(),
                     static_cast<unsigned>(postBytes.size()));
  }

  Bytes body;
  Bytes chunk = BlankBytes(kChunk);
  while (true) {
    unsigned read = 0;
    InternetReadFile(request, chunk.data(), kChunk, &read);
    if (read == 0) break;
    body.Append(chunk.view().substr(0, read));
  }

  std::string buffer(BlankText(kHeaderBuffer).view());
  buffer.push_back('\0');
  unsigned length = kHeaderBuffer;
  HttpQueryInfoA(request, kHttpQueryRawHeadersCrlf, buffer.data(), &length, nullptr);
  returnedHeaders = Text(buffer);

  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  InternetCloseHandle(root);

  returnedCookies = CollectCookies(returnedHeaders);
  if (o.mergeCookies && cookiesGiven) returnedCookies = MergeCookies(*o.cookies, returnedCookies);
  return body;
}
