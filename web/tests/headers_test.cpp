#include "web/headers.h"

#include <gtest/gtest.h>

namespace {

TEST(Headers, NormalizeHeaderNames) {
  struct Case {
    Text block;
    const char* want;
  } cases[] = {
      {"content-type: text/html", "Content-Type: text/html"},
      {"x-a-b:1", "X-A-B:1"},
      {"content-TYPE: x", "Content-TYPE: x"},
      {"a: 1\r\n\r\ngarbage\r\nb: 2", "A: 1\r\nB: 2"},
      {"a: x-y-z\r\n", "A: x-y-z"},
      {" lead: v", " lead: v"},
      {"nothing here", ""},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NormalizeHeaderNames(c.block).str(), c.want) << c.block.str();
  EXPECT_EQ(CapitalizeFirst("").str(), "");
  EXPECT_EQ(CapitalizeFirst("\xd6\xd0x").str(), "\xd6\xd0x");
}

TEST(Headers, HeaderValueAndUserAgent) {
  EXPECT_EQ(HeaderValue("Name:  v:w  ").str(), "v:w");
  EXPECT_EQ(HeaderValue("no colon").str(), "");
  EXPECT_EQ(HeaderValue("A: 1\r\nB: 2").str(), "1\r\nB: 2");
  EXPECT_EQ(PickUserAgent("").str(), kDefaultUserAgent.str());
  EXPECT_EQ(PickUserAgent("Accept: x\r\nUser-Agent: X/1.0\r\nB: 2").str(), "X/1.0");
  EXPECT_EQ(PickUserAgent("User-Agent:\r\nB: 2").str(), "\r\nB: 2") << "HeaderValue of the block";
  EXPECT_EQ(PickUserAgent("user-agent: low/1").str(), "low/1");
}

TEST(Headers, CompleteRequestHeaders) {
  struct Case {
    Text block;
    int method;
    const char* want;
  } cases[] = {
      {"", 0, "Accept: */*\r\nReferer: U\r\nAccept-Language: zh-cn"},
      {"", 1,
       "Accept: */*\r\nReferer: U\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"accept: text/html", 0, "accept: text/html\r\nReferer: U\r\nAccept-Language: zh-cn"},
      {"Accept-Encoding: gzip", 0,
       "Accept-Encoding: gzip\r\nAccept: */*\r\nReferer: U\r\nAccept-Language: zh-cn"},
      {"X: see referer: here", 5, "X: see referer: here\r\nAccept: */*\r\nAccept-Language: zh-cn"},
      {"A: 1\r\n", 0, "A: 1\r\n\r\nAccept: */*\r\nReferer: U\r\nAccept-Language: zh-cn"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompleteRequestHeaders(c.block, "U", c.method).str(), c.want) << c.block.str();
  }
}

TEST(Headers, AppendCookieHeader) {
  EXPECT_EQ(AppendCookieHeader("A: 1", "a=1; b=2").str(), "A: 1\r\nCookie: a=1; b=2");
  EXPECT_EQ(AppendCookieHeader("A: 1", "Cookie: a=1").str(), "A: 1\r\nCookie: a=1");
  EXPECT_EQ(AppendCookieHeader("A: 1", "cookie: a=1").str(), "A: 1\r\nCookie: cookie: a=1");
  EXPECT_EQ(AppendCookieHeader("", "a=1").str(), "\r\nCookie: a=1");
  EXPECT_EQ(AppendCookieHeader("A: 1", "").str(), "A: 1");
}

}  // namespace
