#include "web/url.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// host | host with port | port | path, so that a row reads as one sentence.
std::string Parts(const Text& url) {
  return UrlHost(url).str() + " | " + UrlHost(url, false, true).str() + " | " +
         std::to_string(UrlPort(url)) + " | " + UrlPath(url).str();
}

TEST(Url, Decomposition) {
  struct Case {
    const char* url;
    const char* want;
  } cases[] = {
      {"a.b/c", "a.b | a.b | 80 | /c"},
      {"HTTPS://A.B/X", "a.b | a.b | 443 | /X"},
      {"http://a.b", "a.b | a.b | 80 | /"},
      {"https://a.b:8080/x", "a.b | a.b:8080 | 8080 | /x"},
      {"http://a.b:x/", "a.b | a.b:x | 0 | /"},
      {"http://a.b?q=1", "a.b?q=1 | a.b?q=1 | 80 | /"},
      {"http://u:p@a.b/", "u | u:p@a.b | 0 | /"},
      {"a.b/?u=http://c.d/e", "c.d | c.d | 80 | /e"},
      {"httpsx.y/z", "httpsx.y | httpsx.y | 443 | /z"},
      {"", " |  | 80 | /"},
      // A host that also occurs inside the scheme is looked for after it.
      {"http://h/x", "h | h | 80 | /x"},
      {"http://tp/x", "tp | tp | 80 | /x"},
      {"https://s/y?z", "s | s | 443 | /y?z"},
      {"http://http/p", "http | http | 80 | /p"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parts(c.url), c.want) << c.url;
}

TEST(Url, DomainOnlyAndSuffixDots) {
  struct Case {
    Text got;
    const char* want;
  } cases[] = {
      {UrlHost("a.b.c.d", true), "c.d"},
      {UrlHost("a", true), "a"},
      {UrlHost("10.0.0.1", true), "0.1"},
      {UrlHost("a.b.c:8080", true), "b.c"},
      {UrlHost("a.b.c:8080", true, true), "b.c:8080"},
      {UrlHost("http://a.b.c.d/x", true, false, 1), "c.d"},
      {UrlHost("http://a.b.c.d/x", false, false, 1), "b.c.d"},
      {UrlHost("http://a.b.c.d/x", true, false, 0), "d"},
      {UrlHost("http://a.b.c.d/x", false, false, 0), "c.d"},
      {UrlHost("c.d", true, false, 1), "c.d"},
      {UrlHost("c.d", false, false, 1), "c.d"},
      {UrlHost("https://x.y.z/p", false, false, -3), "y.z"},  // n below 1 acts as 0
  };
  for (const Case& c : cases) EXPECT_EQ(c.got.str(), c.want);
}

}  // namespace
