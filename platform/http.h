// HTTP on libcurl: a WinINet-shaped request layer for the web request routine,
// and a one-call download for pictures. Calls block the calling thread; handles
// belong to the thread that opened them.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace platform {

using InternetHandle = void*;

constexpr unsigned kInternetOpenTypeDirect = 1;
constexpr unsigned kInternetOpenTypeProxy = 3;
constexpr unsigned kInternetServiceHttp = 3;
constexpr unsigned kInternetFlagReload = 0x80000000u;
constexpr unsigned kInternetFlagNeedFile = 0x00000010u;
constexpr unsigned kInternetFlagNoCookies = 0x00080000u;
constexpr unsigned kInternetFlagNoAutoRedirect = 0x00200000u;
constexpr unsigned kInternetFlagSecure = 0x00800000u;
constexpr unsigned kInternetFlagIgnoreRedirectToHttps = 0x00004000u;
constexpr unsigned kInternetOptionSecurityFlags = 31;
constexpr unsigned kSecurityFlagIgnoreUnknownCa = 0x100;
constexpr unsigned kSecurityFlagIgnoreCertCnInvalid = 0x1000;
constexpr unsigned kSecurityFlagIgnoreCertDateInvalid = 0x2000;
constexpr unsigned kHttpQueryRawHeadersCrlf = 22;

// A root handle; proxy is a list such as "http=host:port" or "host:port".
InternetHandle InternetOpenA(const char* agent, unsigned accessType, const char* proxy,
                             const char* proxyBypass, unsigned flags);
InternetHandle InternetConnectA(InternetHandle root, const char* serverName, int port,
                                const char* userName, const char* password, unsigned service,
                                unsigned flags, uintptr_t context);
InternetHandle HttpOpenRequestA(InternetHandle connection, const char* verb, const char* object,
                                const char* version, const char* referrer,
                                const char* const* acceptTypes, unsigned flags, uintptr_t context);
bool InternetSetOptionA(InternetHandle handle, unsigned option, const void* buffer,
                        unsigned length);
// Sends the request with the CR LF separated header lines and the body, and
// receives the whole response; false when no response came.
bool HttpSendRequestA(InternetHandle request, const char* headers, int headersLength,
                      const void* body, unsigned bodyLength);
// Delivers the next at most toRead bytes of the body; *read is 0 at the end.
bool InternetReadFile(InternetHandle request, void* buffer, unsigned toRead, unsigned* read);
// The raw header block of the final response, zero-terminated; false (with the
// size needed in *bufferLength) when it does not fit.
bool HttpQueryInfoA(InternetHandle request, unsigned infoLevel, void* buffer,
                    unsigned* bufferLength, unsigned* index);
bool InternetCloseHandle(InternetHandle handle);

// How many handles are open in the whole process.
int OpenInternetHandles();

struct DownloadResult {
  Bytes body;
  bool whole = false;  // a response with a status below 400 arrived complete
  long status = 0;
};

// One GET of address (cut at its first '#') with HTTP/1.0, "Accept: */*" and
// no cookie or referrer; certificates are verified.
DownloadResult DownloadBytes(const Text& address);

// Test seams. Zero restores the defaults (60 s to connect, 60 s without a byte).
void SetHttpTimeoutsForTesting(int connectSeconds, int stallSeconds);
// An extra certificate authority (PEM file) for downloads; empty restores none.
void SetDownloadCaFileForTesting(const std::string& path);

}  // namespace platform
