#include "web/web_request.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "platform/http.h"
#include "test_server.h"
#include "text/primitives.h"

namespace {

using Lines = std::vector<std::string>;

class WebRequestTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(platform::OpenInternetHandles(), 0) << "a handle was left open";
  }
};

TestServer::Handler Always(std::string response) {
  return [response](const RecordedRequest&) { return Reply{response}; };
}

TEST_F(WebRequestTest, CrawlCallSendsTheDefaultHeadersAndTheCookieLine) {
  TestServer server(Always(TestServer::Response(200, "page")));
  const Text url(server.Url("/n/1?x=y"));
  Text cookies = "Cookie: a=1; b=2";
  const Bytes body = WebRequest(url, {.method = 0, .cookies = &cookies});
  EXPECT_EQ(body.str(), "page");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].requestLine, "GET /n/1?x=y HTTP/1.1");
  EXPECT_EQ(requests[0].headerLines,
            (Lines{"Host: 127.0.0.1:" + std::to_string(server.port()),
                   "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)", "Accept: */*",
                   "Referer: " + url.str(), "Accept-Language: zh-cn", "Cookie: a=1; b=2"}));
  EXPECT_TRUE(requests[0].body.empty());
}

TEST_F(WebRequestTest, MethodCodes) {
  TestServer server(Always(TestServer::Response(200, "ok")));
  struct Case {
    int method;
    const char* requestLine;
    const char* body;
  } cases[] = {
      {8, "GET /m HTTP/1.1", ""},       {-1, "GET /m HTTP/1.1", ""},
      {0, "GET /m HTTP/1.1", ""},       {1, "POST /m HTTP/1.1", "x=1"},
      {5, "DELETE /m HTTP/1.1", "x=1"}, {3, "PUT /m HTTP/1.1", "x=1"},
  };
  for (const Case& c : cases) {
    Bytes postBytes;
    WebRequest(Text(server.Url("/m")),
               {.method = c.method, .postText = "x=1", .postBytes = &postBytes});
    const RecordedRequest r = server.Requests().back();
    EXPECT_EQ(r.requestLine, c.requestLine) << c.method;
    EXPECT_EQ(r.body, c.body) << c.method;
    EXPECT_EQ(postBytes.str(), c.method > 0 && c.method < 8 ? "x=1" : "") << c.method;
  }
  // POST gets the form content type; other methods with a body get none.
  WebRequest(Text(server.Url("/m")), {.method = 1, .postText = "a"});
  const Lines posted = server.Requests().back().headerLines;
  EXPECT_NE(
      std::find(posted.begin(), posted.end(), "Content-Type: application/x-www-form-urlencoded"),
      posted.end());
  WebRequest(Text(server.Url("/m")), {.method = 5, .postText = "a"});
  const Lines deleted = server.Requests().back().headerLines;
  for (const std::string& line : deleted) {
    EXPECT_NE(line.rfind("Content-Type", 0), 0u) << "DELETE gets no content type";
  }
  Bytes given("raw\0bytes");
  WebRequest(Text(server.Url("/m")), {.method = 1, .postText = "ignored", .postBytes = &given});
  EXPECT_EQ(server.Requests().back().body, "raw");
  Bytes headBytes;
  WebRequest(Text(server.Url("/m")), {.method = 2, .postText = "h=1", .postBytes = &headBytes});
  EXPECT_EQ(server.Requests().back().requestLine, "HEAD /m HTTP/1.1");
  EXPECT_EQ(headBytes.str(), "h=1");
}

TEST_F(WebRequestTest, CookiesGivenEmptyAndOmitted) {
  TestServer server(Always(TestServer::Response(
      200, "",
      {"Set-Cookie: a=1; Path=/", "set-cookie: c=3", "Set-Cookie:d=4", "Set-Cookie: b=2"})));
  const Text url(server.Url("/c"));
  Text returned;
  Text headers;
  WebRequest(url, {.returnedCookies = &returned, .returnedHeaders = &headers});
  EXPECT_EQ(returned.str(), "a=1; b=2");
  EXPECT_EQ(headers.str().rfind("HTTP/1.1 200 X\r\n", 0), 0u);
  EXPECT_EQ(headers.str().substr(headers.size() - 4), "\r\n\r\n");
  const Lines sent = server.Requests().back().headerLines;
  for (const std::string& line : sent) {
    EXPECT_NE(line.rfind("Cookie", 0), 0u) << "no cookie line when cookies are omitted";
  }

  Text empty;
  WebRequest(url, {.cookies = &empty, .returnedCookies = &returned});
  EXPECT_EQ(server.Requests().back().headerLines.back(), "Accept-Language: zh-cn");
  EXPECT_EQ(empty.str(), "a=1; b=2") << "merging runs with the empty text as the old cookies";

  Text mine = "b=9; z=0";
  WebRequest(url, {.cookies = &mine, .returnedCookies = &returned});
  EXPECT_EQ(server.Requests().back().headerLines.back(), "Cookie: b=9; z=0");
  EXPECT_EQ(mine.str(), "a=1; b=2; z=0");
  EXPECT_EQ(returned.str(), "a=1; b=2; z=0");

  Text unmerged = "z=0";
  WebRequest(url, {.cookies = &unmerged, .returnedCookies = &returned, .mergeCookies = false});
  EXPECT_EQ(unmerged.str(), "z=0");
  EXPECT_EQ(returned.str(), "a=1; b=2");
}

TEST_F(WebRequestTest, ExtraHeadersArePreparedAndWrittenBack) {
  TestServer server(Always(TestServer::Response(200, "")));
  Text extra = "user-agent: Tool/2\r\nx-a: 1\r\n\r\nbad\r\nX-Split: a\rInjected: 1";
  WebRequest(Text(server.Url("/h")), {.extraHeaders = &extra});
  const Lines lines = server.Requests().back().headerLines;
  EXPECT_EQ(lines[1], "User-Agent: Tool/2");
  EXPECT_EQ(lines[2], "X-A: 1");
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find("Injected"), std::string::npos) << "a lone CR never reaches the wire";
  }
  EXPECT_EQ(
      extra.str().rfind("User-Agent: Tool/2\r\nX-A: 1\r\nX-Split: a\rInjected: 1\r\nAccept", 0),
      0u);
}

TEST_F(WebRequestTest, ObjectBytesArePercentEncoded) {
  TestServer server(Always(TestServer::Response(200, "")));
  WebRequest(Text(server.Url("/a b/\xd6\xd0")));
  EXPECT_EQ(server.Requests().back().requestLine, "GET /a%20b/%D6%D0 HTTP/1.1");
}

TEST_F(WebRequestTest, ThroughAProxy) {
  TestServer proxy(Always(TestServer::Response(200, "via proxy")));
  const Bytes body = WebRequest("http://origin.invalid:81/p",
                                {.proxy = Text("127.0.0.1:" + std::to_string(proxy.port()))});
  EXPECT_EQ(body.str(), "via proxy");
  EXPECT_EQ(proxy.Requests().back().requestLine, "GET http://origin.invalid:81/p HTTP/1.1");
  // An https address takes the proxy text as it is and tunnels through it.
  WebRequest("HTTPS://origin.invalid/p",
             {.proxy = Text("127.0.0.1:" + std::to_string(proxy.port()))});
  EXPECT_EQ(proxy.Requests().back().requestLine, "CONNECT origin.invalid:443 HTTP/1.1");
}

TEST_F(WebRequestTest, BodiesAndHeaderBlocksAtTheirLimits) {
  std::string big(6000, 'v');
  TestServer server([&](const RecordedRequest& r) {
    if (r.requestLine.find("/zero") != std::string::npos) {
      return Reply{TestServer::Response(200, std::string("a\0b", 3))};
    }
    if (r.requestLine.find("/big") != std::string::npos) {
      return Reply{TestServer::Response(200, "x", {"Set-Cookie: k=1", "X-Big: " + big})};
    }
    // Announces 100 bytes, sends 10 and closes.
    return Reply{"HTTP/1.1 200 X\r\nContent-Length: 100\r\n\r\n0123456789"};
  });
  EXPECT_EQ(WebRequest(Text(server.Url("/zero"))).str(), std::string("a\0b", 3));
  Text headers, cookies;
  EXPECT_EQ(WebRequest(Text(server.Url("/big")),
                       {.returnedCookies = &cookies, .returnedHeaders = &headers})
                .str(),
            "x");
  EXPECT_EQ(headers.str(), std::string(5000, ' ')) << "a block over 4,999 bytes does not fit";
  EXPECT_EQ(cookies.str(), "");
  EXPECT_EQ(WebRequest(Text(server.Url("/cut"))).str(), "0123456789");
}

TEST_F(WebRequestTest, AStalledServerIsAbandoned) {
  platform::SetHttpTimeoutsForTesting(5, 1);
  TestServer server([](const RecordedRequest&) {
    return Reply{"HTTP/1.1 200 X\r\nContent-Length: 100\r\n\r\nabc", 4000};
  });
  const auto start = std::chrono::steady_clock::now();
  const Bytes body = WebRequest(Text(server.Url("/slow")));
  const auto seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  platform::SetHttpTimeoutsForTesting(0, 0);
  EXPECT_EQ(body.str(), "abc");
  EXPECT_LT(seconds, 3.5) << "the stall limit did not end the transfer";
}

TEST_F(WebRequestTest, RedirectionsFollowedOrRefused) {
  TestServer target(Always(TestServer::Response(200, "arrived")));
  TestServer server(Always(TestServer::Response(302, "moved", {"Location: " + target.Url("/t")})));
  EXPECT_EQ(WebRequest(Text(server.Url("/r"))).str(), "arrived");
  Text headers;
  EXPECT_EQ(
      WebRequest(Text(server.Url("/r")), {.returnedHeaders = &headers, .noRedirect = true}).str(),
      "moved");
  EXPECT_EQ(headers.str().rfind("HTTP/1.1 302", 0), 0u);
  TestServer elsewhere(Always(TestServer::Response(302, "", {"Location: ftp://127.0.0.1/x"})));
  EXPECT_EQ(WebRequest(Text(elsewhere.Url("/r"))).str(), "") << "only http and https are followed";
}

TEST_F(WebRequestTest, FailuresGiveEmptyResults) {
  Text headers = "untouched", cookies = "a=1";
  EXPECT_TRUE(WebRequest("http://127.0.0.1:1/", {.cookies = &cookies, .returnedHeaders = &headers})
                  .empty());
  EXPECT_EQ(headers.str(), std::string(5000, ' ')) << "the header query failed unnoticed";
  EXPECT_EQ(cookies.str(), "a=1");
  EXPECT_TRUE(WebRequest("").empty()) << "no host: the connection cannot be opened";
}

}  // namespace
