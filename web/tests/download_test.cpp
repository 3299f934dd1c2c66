// The picture download and the page request over TLS, against servers on 127.0.0.1.
#include <gtest/gtest.h>

#include "platform/http.h"
#include "test_server.h"
#include "tools/note_site_process.h"
#include "web/web_request.h"

namespace {

TEST(DownloadBytes, OneGetWithTheFixedHeaders) {
  TestServer server([](const RecordedRequest&) {
    return Reply{TestServer::Response(200, std::string("\x89PNG\0x", 6))};
  });
  const platform::DownloadResult r = platform::DownloadBytes(Text(server.Url("/p/w/1#frag")));
  EXPECT_TRUE(r.whole);
  EXPECT_EQ(r.body.str(), std::string("\x89PNG\0x", 6));
  const RecordedRequest sent = server.Requests().at(0);
  EXPECT_EQ(sent.requestLine, "GET /p/w/1 HTTP/1.0") << "cut at the '#'";
  EXPECT_EQ(sent.headerLines, (std::vector<std::string>{
                                  "Host: 127.0.0.1:" + std::to_string(server.port()),
                                  "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)",
                                  "Accept: */*", "Pragma: no-cache"}));
}

TEST(DownloadBytes, WhatCannotBeHadIsNotWhole) {
  TestServer server([](const RecordedRequest& r) {
    if (r.requestLine.find("/missing") != std::string::npos) {
      return Reply{TestServer::Response(404, "error page")};
    }
    return Reply{"HTTP/1.0 200 X\r\nContent-Length: 50\r\n\r\nhalf"};
  });
  const platform::DownloadResult missing = platform::DownloadBytes(Text(server.Url("/missing")));
  EXPECT_FALSE(missing.whole);
  EXPECT_EQ(missing.status, 404);
  const platform::DownloadResult cut = platform::DownloadBytes(Text(server.Url("/cut")));
  EXPECT_FALSE(cut.whole);
  EXPECT_EQ(cut.body.str(), "half") << "the bytes that arrived are kept";
  for (const char* address : {"", "/w/1000/h/1000/q/1000", "ftp://127.0.0.1/x",
                              "file:///etc/passwd", "http://127.0.0.1:1/refused"}) {
    const platform::DownloadResult r = platform::DownloadBytes(address);
    EXPECT_FALSE(r.whole) << address;
    EXPECT_TRUE(r.body.empty()) << address;
  }
  EXPECT_EQ(server.Requests().size(), 2u) << "unusable addresses send nothing";
}

TEST(Tls, PageRequestIgnoresCertificateErrorsDownloadsVerify) {
  NoteSite site;
  ASSERT_TRUE(site.ok()) << "the sample note site did not start";
  const std::string picture = site.Https("/img/demo/1/w/1000/h/1000/q/1000");
  Text headers;
  const Bytes page = WebRequest(Text(site.Https("/note/demo")), {.returnedHeaders = &headers});
  EXPECT_NE(page.str().find("<title>"), std::string::npos);
  EXPECT_EQ(headers.str().rfind("HTTP/1.0 200", 0), 0u);
  std::string upper = site.Https("/note/demo");
  upper.replace(0, 5, "HTTPS");
  EXPECT_EQ(WebRequest(Text(upper)).str(), page.str()) << "a scheme in capitals is https too";
  EXPECT_FALSE(platform::DownloadBytes(Text(picture)).whole)
      << "a self-signed certificate is refused";
  platform::SetDownloadCaFileForTesting(site.CertificateFile());
  const platform::DownloadResult trusted = platform::DownloadBytes(Text(picture));
  platform::SetDownloadCaFileForTesting("");
  EXPECT_TRUE(trusted.whole);
  EXPECT_EQ(trusted.body.str().substr(1, 3), "PNG");
  EXPECT_EQ(platform::OpenInternetHandles(), 0);
}

}  // namespace
