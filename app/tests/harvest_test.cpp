#include "app/harvest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "text/primitives.h"

namespace {

Text ReadFixture(const char* name) {
  std::ifstream in(std::string(VELLACROP_TEST_DATA) + "/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return BytesToText(Bytes(s.str()));
}

TEST(Harvest, WholeNotePage) {
  const Text page = ReadFixture("note_page.html");
  ASSERT_GT(TextLength(page), 1000) << "fixture missing";
  // 春日散步｜花园 :?* in code page 936; the '<' of the closing tag is gone.
  EXPECT_EQ(FolderNameFromPage(page).str(),
            "\xb4\xba\xc8\xd5\xc9\xa2\xb2\xbd\xa3\xfc\xbb\xa8\xd4\xb0 :?*");
  const Text strip = CutPictureStrip(page);
  EXPECT_EQ(FindText(strip, "<i", 1, false), -1);
  EXPECT_EQ(FindText(strip, "note-top", 1, false), -1);
  RegexObject regex;
  ASSERT_EQ(FindPictureMatches(regex, strip), 4);
  const char* want[] = {
      "http://127.0.0.1:8000/img/aaa/w/1000/h/1000/q/1000",
      "http://127.0.0.1:8000/img/bbb/w/1000/h/1000/q/1000",
      "http://127.0.0.1:8000/img/ccc/w/1000/h/1000/q/1000",
      "http://127.0.0.1:8000/img/ddd/w/1000/h/1000/q/1000",
  };
  for (int n = 1; n <= 4; ++n) {
    const Text address =
        ResizeImageAddress(PictureAddressFromMatch(regex.MatchText(n)), 1000, 1000, 1000);
    EXPECT_EQ(address.str(), want[n - 1]) << "picture " << n;
  }
}

TEST(Harvest, FolderNameCases) {
  struct Case {
    Text page;
    const char* want;
  } cases[] = {
      {"<html><title>Note</title>", "Note"},
      {"<html>no title", ""},
      {"<title>Note", ""},
      {"<TITLE>Note</TITLE>", ""},
      {"<title>a%20b</title>", "a b"},
      {"<title>a:?*|\">\\b</title>", "a:?*|\">\\b"},
      {"<title>\xe4\xb8\xad</title>", "\xd6\xd0"},
  };
  for (const Case& c : cases) EXPECT_EQ(FolderNameFromPage(c.page).str(), c.want) << c.page.str();
}

TEST(Harvest, StripAndMatchCases) {
  const Text element("<i class=\"img\" style=\"background-image:url(http://h/p/w/5);\" x></i>");
  struct Case {
    const char* what;
    Text page;
    int matches;
  } cases[] = {
      {"no end marker", ConcatTexts({"<div class=\"each active\">", element}), 0},
      {"end marker only before start",
       ConcatTexts({"<div class=\"note-top\"><div class=\"each active\">", element}), 0},
      {"two on one line",
       ConcatTexts({"<div class=\"each active\">", element, element, "<div class=\"note-top\">"}),
       2},
  };
  for (const Case& c : cases) {
    RegexObject regex;
    EXPECT_EQ(FindPictureMatches(regex, CutPictureStrip(c.page)), c.matches) << c.what;
  }
}

TEST(Harvest, AddressesAndPaths) {
  struct Case {
    Text got;
    const char* want;
  } cases[] = {
      {PictureAddressFromMatch("url(http://h/a)b);\" x></i>"), "http://h/a"},
      {PictureAddressFromMatch("no parenthesis"), ""},
      {ResizeImageAddress("http://h/p/w/540/x", 1000, 1000, 1000),
       "http://h/p/w/1000/h/1000/q/1000"},
      {ResizeImageAddress("http://h/w/1/w/2", 1000, 1000, 1000), "http://h/w/1000/h/1000/q/1000"},
      {ResizeImageAddress("http://h/p/W/540", 1000, 1000, 1000), "/w/1000/h/1000/q/1000"},
      {ResizeImageAddress("", 1, 2, 3), "/w/1/h/2/q/3"},
      {PictureFilePath("D", "F", 10), "D/F/10.png"},
      {PictureFilePath("C:\\x", "F", 1), "C:\\x/F/1.png"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got.str(), c.want);
}

}  // namespace

#include "app/crawl.h"

namespace {

TEST(CrawlCookieHeader, IsOneLineOfEightPairs) {
  const std::string cookie = kCrawlCookieHeader.str();
  EXPECT_EQ(cookie.size(), 1018u);
  EXPECT_EQ(cookie.rfind("Cookie: ", 0), 0u);
  for (char c : cookie) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "not printable ASCII: " << int(c);
  const TextList pairs = SplitText(TextMid(kCrawlCookieHeader, 9, 2000), "; ");
  ASSERT_EQ(ListCount(pairs), 8);
  for (const Text& pair : pairs) EXPECT_GT(FindText(pair, "=", 1, false), 1) << pair.str();
}

}  // namespace
