#include <curl/curl.h>
#include <strings.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/http.h"

namespace platform {
namespace {

constexpr size_t kBodyLimit = 256u << 20;
constexpr long kMaxRedirections = 10;

std::atomic<int> g_openHandles{0};
std::atomic<int> g_connectSeconds{60};
std::atomic<int> g_stallSeconds{60};
std::mutex g_caMutex;
std::string g_caFile;

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

enum class Kind { kRoot, kConnection, kRequest };

struct Handle {
  explicit Handle(Kind k) : kind(k) { ++g_openHandles; }
  ~Handle() { --g_openHandles; }
  Kind kind;
  // Root
  std::string agent;
  std::string proxyList;
  // Connection
  std::string agentOfRoot;
  std::string proxyOfRoot;
  std::string host;
  int port = 0;
  // Request
  std::string verb;
  std::string object;
  unsigned flags = 0;
  unsigned securityFlags = 0;
  std::string body;
  size_t readAt = 0;
  std::string headers;  // of the final response
  bool sent = false;
};

Handle* As(InternetHandle h, Kind kind) {
  auto* handle = static_cast<Handle*>(h);
  return handle && handle->kind == kind ? handle : nullptr;
}

struct Transfer {
  std::string* body;
  std::string* headers;
  bool overflow = false;
  std::chrono::steady_clock::time_point lastByte = std::chrono::steady_clock::now();
  std::chrono::seconds stallLimit{60};
};

// Abandons a transfer when no byte has arrived for the stall limit.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* t = static_cast<Transfer*>(user);
  return std::chrono::steady_clock::now() - t->lastByte > t->stallLimit ? 1 : 0;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t n = size * count;
  t->lastByte = std::chrono::steady_clock::now();
  if (t->body->size() + n > kBodyLimit) {
    t->body->append(data, kBodyLimit - t->body->size());
    t->overflow = true;
    return 0;  // breaks the transfer off
  }
  t->body->append(data, n);
  return n;
}

// Keeps the header lines of the last response only, each ended by CR LF.
size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t n = size * count;
  t->lastByte = std::chrono::steady_clock::now();
  std::string line(data, n);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (line.rfind("HTTP/", 0) == 0) t->headers->clear();
  if (line.empty() && t->headers->empty()) return n;
  t->headers->append(line).append("\r\n");
  return n;
}

void CommonOptions(CURL* curl, Transfer* transfer) {
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirections);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(g_connectSeconds.load()));
  transfer->stallLimit = std::chrono::seconds(g_stallSeconds.load());
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, transfer);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, transfer);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, transfer);
}

// Bytes that may not stand raw in a request line are sent percent-encoded.
std::string EncodeObject(std::string_view object) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : object) {
    if (c <= 0x20 || c >= 0x7F) {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

// The proxy for the scheme out of a list such as "http=a:1 https=b:2" or "a:1".
std::string ProxyFor(const std::string& list, const std::string& scheme) {
  std::string chosen;
  size_t i = 0;
  while (i < list.size()) {
    const size_t end = list.find_first_of(" ;", i);
    const std::string entry =
        list.substr(i, end == std::string::npos ? std::string::npos : end - i);
    i = end == std::string::npos ? list.size() : end + 1;
    if (entry.empty()) continue;
    const size_t eq = entry.find('=');
    if (eq == std::string::npos) {
      if (chosen.empty()) chosen = entry;
    } else if (entry.compare(0, eq, scheme) == 0) {
      chosen = entry.substr(eq + 1);
    }
  }
  if (!chosen.empty() && chosen.find("://") == std::string::npos) chosen = "http://" + chosen;
  return chosen;
}

bool IsSafeHeaderLine(std::string_view line) {
  return !line.empty() && line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

}  // namespace

InternetHandle InternetOpenA(const char* agent, unsigned accessType, const char* proxy,
                             const char* /*proxyBypass*/, unsigned /*flags*/) {
  GlobalInit();
  if (accessType != kInternetOpenTypeDirect && accessType != kInternetOpenTypeProxy) {
    return nullptr;
  }
  if (accessType == kInternetOpenTypeProxy && (proxy == nullptr || *proxy == '\0')) return nullptr;
  auto* h = new Handle(Kind::kRoot);
  h->agent = agent ? agent : "";
  if (accessType == kInternetOpenTypeProxy) h->proxyList = proxy;
  return h;
}

InternetHandle InternetConnectA(InternetHandle root, const char* serverName, int port, const char*,
                                const char*, unsigned service, unsigned, uintptr_t) {
  Handle* r = As(root, Kind::kRoot);
  if (!r || service != kInternetServiceHttp || serverName == nullptr || *serverName == '\0' ||
      port < 0 || port > 65535) {
    return nullptr;
  }
  auto* h = new Handle(Kind::kConnection);
  h->agentOfRoot = r->agent;
  h->proxyOfRoot = r->proxyList;
  h->host = serverName;
  h->port = port;
  return h;
}

InternetHandle HttpOpenRequestA(InternetHandle connection, const char* verb, const char* object,
                                const char* /*version*/, const char*, const char* const*,
                                unsigned flags, uintptr_t) {
  Handle* c = As(connection, Kind::kConnection);
  if (!c) return nullptr;
  auto* h = new Handle(Kind::kRequest);
  h->agentOfRoot = c->agentOfRoot;
  h->proxyOfRoot = c->proxyOfRoot;
  h->host = c->host;
  h->port = c->port;
  h->verb = verb && *verb ? verb : "GET";
  h->object = object && *object ? object : "/";
  h->flags = flags;
  return h;
}

bool InternetSetOptionA(InternetHandle handle, unsigned option, const void* buffer,
                        unsigned length) {
  Handle* r = As(handle, Kind::kRequest);
  if (!r || option != kInternetOptionSecurityFlags || buffer == nullptr || length != 4) {
    return false;
  }
  std::memcpy(&r->securityFlags, buffer, 4);
  return true;
}

bool HttpSendRequestA(InternetHandle request, const char* headers, int headersLength,
                      const void* body, unsigned bodyLength) {
  Handle* r = As(request, Kind::kRequest);
  if (!r || r->sent) return false;
  r->sent = true;
  CURL* curl = curl_easy_init();
  if (!curl) return false;
  Transfer transfer{&r->body, &r->headers};
  CommonOptions(curl, &transfer);

  const bool secure = r->flags & kInternetFlagSecure;
  const std::string scheme = secure ? "https" : "http";
  const std::string url =
      scheme + "://" + r->host + ":" + std::to_string(r->port) + EncodeObject(r->object);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(curl, CURLOPT_USERAGENT, r->agentOfRoot.c_str());
  const std::string proxy = ProxyFor(r->proxyOfRoot, scheme);
  curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());  // "" means no proxy at all
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION,
                   (r->flags & kInternetFlagNoAutoRedirect) ? 0L : 1L);
  // Without NO_COOKIES the layer keeps cookies across the redirections of this
  // one call; nothing is kept after it.
  if (!(r->flags & kInternetFlagNoCookies)) curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
  if (r->securityFlags & kSecurityFlagIgnoreUnknownCa) {
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
  }
  if (r->securityFlags & kSecurityFlagIgnoreCertCnInvalid) {
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
  }

  // Header lines go out one by one; an empty line or one holding a lone CR or
  // LF is never sent, so no caller text can end or split the header section.
  curl_slist* list = nullptr;
  bool hasContentType = false;
  const std::string_view block =
      headers ? std::string_view(headers, headersLength < 0 ? std::strlen(headers) : headersLength)
              : std::string_view();
  for (size_t i = 0; i <= block.size();) {
    size_t end = block.find("\r\n", i);
    if (end == std::string_view::npos) end = block.size();
    const std::string_view line = block.substr(i, end - i);
    if (IsSafeHeaderLine(line)) {
      list = curl_slist_append(list, std::string(line).c_str());
      if (line.size() >= 13 && strncasecmp(line.data(), "content-type:", 13) == 0) {
        hasContentType = true;
      }
    }
    i = end + 2;
  }
  list = curl_slist_append(list, "Expect:");
  const bool sendsBody = body != nullptr || r->verb != "GET";
  if (sendsBody && !hasContentType) list = curl_slist_append(list, "Content-Type:");
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);

  if (r->verb == "GET") {
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  } else if (r->verb == "HEAD") {
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  } else {
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body ? static_cast<const char*>(body) : "");
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(bodyLength));
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, r->verb.c_str());
  }
  const CURLcode rc = curl_easy_perform(curl);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  curl_slist_free_all(list);
  curl_easy_cleanup(curl);
  if (status == 0) r->headers.clear();
  return rc == CURLE_OK;
}

bool InternetReadFile(InternetHandle request, void* buffer, unsigned toRead, unsigned* read) {
  Handle* r = As(request, Kind::kRequest);
  if (read) *read = 0;
  if (!r || !buffer || !read) return false;
  const size_t n = std::min<size_t>(toRead, r->body.size() - r->readAt);
  std::memcpy(buffer, r->body.data() + r->readAt, n);
  r->readAt += n;
  *read = static_cast<unsigned>(n);
  return true;
}

bool HttpQueryInfoA(InternetHandle request, unsigned infoLevel, void* buffer,
                    unsigned* bufferLength, unsigned* /*index*/) {
  Handle* r = As(request, Kind::kRequest);
  if (!r || infoLevel != kHttpQueryRawHeadersCrlf || !bufferLength || r->headers.empty()) {
    return false;
  }
  if (buffer == nullptr || r->headers.size() + 1 > *bufferLength) {
    *bufferLength = static_cast<unsigned>(r->headers.size() + 1);
    return false;
  }
  std::memcpy(buffer, r->headers.c_str(), r->headers.size() + 1);
  *bufferLength = static_cast<unsigned>(r->headers.size());
  return true;
}

bool InternetCloseHandle(InternetHandle handle) {
  auto* h = static_cast<Handle*>(handle);
  if (!h) return false;
  delete h;
  return true;
}

int OpenInternetHandles() { return g_openHandles.load(); }

DownloadResult DownloadBytes(const Text& address) {
  DownloadResult result;
  const std::string url(address.view().substr(0, address.view().find('#')));
  if (url.empty()) return result;
  GlobalInit();
  // Only an address that splits into an http or https scheme, a host, a port
  // and a path is requested.
  CURLU* parts = curl_url();
  bool usable = parts && curl_url_set(parts, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK;
  char* scheme = nullptr;
  if (usable && curl_url_get(parts, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK) {
    usable = std::strcmp(scheme, "http") == 0 || std::strcmp(scheme, "https") == 0;
  } else {
    usable = false;
  }
  curl_free(scheme);
  if (parts) curl_url_cleanup(parts);
  if (!usable) return result;

  CURL* curl = curl_easy_init();
  if (!curl) return result;
  std::string body, headers;
  Transfer transfer{&body, &headers};
  CommonOptions(curl, &transfer);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  {
    std::lock_guard lock(g_caMutex);
    if (!g_caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, g_caFile.c_str());
  }
  curl_slist* list = curl_slist_append(nullptr, "Accept: */*");
  list = curl_slist_append(list, "Pragma: no-cache");
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
  const CURLcode rc = curl_easy_perform(curl);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
  curl_slist_free_all(list);
  curl_easy_cleanup(curl);
  if (result.status == 0) return result;  // no connection or nothing was sent back
  result.body = Bytes(std::move(body));
  result.whole = rc == CURLE_OK && !transfer.overflow && result.status < 400;
  return result;
}

void SetHttpTimeoutsForTesting(int connectSeconds, int stallSeconds) {
  g_connectSeconds = connectSeconds > 0 ? connectSeconds : 60;
  g_stallSeconds = stallSeconds > 0 ? stallSeconds : 60;
}

void SetDownloadCaFileForTesting(const std::string& path) {
  std::lock_guard lock(g_caMutex);
  g_caFile = path;
}

}  // namespace platform
