#include "web/cookies.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Cookies, MergeCookies) {
  struct Case {
    Text oldCookies;
    Text newCookies;
    const char* want;
  } cases[] = {
      {"a=1; b=2", "b=3", "b=3; a=1"},
      {"a=1; b=2", "a=deleted", "b=2"},
      {"", "x=1", "x=1"},
      {"x=1", "", "x=1"},
      {"", "", ""},
      {"a=1;", "", "a=1"},
      {"a=1;b=2", "a=3", "a=3"},
      {"", "x=1; x=2", "x=1; x=2"},
      {"", "x=1; x=1", "x=1"},
      {"a=1; a=2", "", "a=1"},
      {"A=1", "a=2", "a=2; A=1"},
      {"a=undeleted", "", "a=undeleted"},
      {"  k =1 ", "k=2", "k=2"},
  };
  for (const Case& c : cases) {
    Text oldCookies = c.oldCookies, newCookies = c.newCookies;
    EXPECT_EQ(MergeCookies(oldCookies, newCookies).str(), c.want)
        << c.oldCookies.str() << " + " << c.newCookies.str();
    EXPECT_EQ(oldCookies.str(), c.want) << "left in the first argument";
  }
  Text a = "x=1", b = " y=2; ";
  MergeCookies(a, b);
  EXPECT_EQ(b.str(), "y=2; ") << "the second argument is left normalised";
}

TEST(Cookies, NamesListsAndCharacters) {
  EXPECT_EQ(CookieName(" k =x=y").str(), "k");
  EXPECT_EQ(CookieName("flag").str(), "flag");
  EXPECT_TRUE(HasCookie({"a=1", "b=2"}, "b"));
  EXPECT_FALSE(HasCookie({}, "b"));
  EXPECT_EQ(JoinUnique("b; a; b", "; ", true).str(), "b; a");
  EXPECT_EQ(JoinUnique("", "; ", true).str(), "");
  EXPECT_EQ(JoinUnique("abca", ",", false).str(), "a,b,c");
  EXPECT_EQ(ListIndexOf({"a", "b", "b"}, "b"), 2);
  EXPECT_EQ(ListIndexOf({"a"}, "c"), -1);

  struct Case {
    Text text;
    const char* want;
  } cases[] = {
      {"a\r\nb", "3:[a][\r\n][b]"}, {"\r\r\n", "2:[\r][\r\n]"}, {"\xd6\xd0x", "2:[\xd6\xd0][x]"},
      {"\x80x", "2:[\x80][x]"},     {"x\xd6", "2:[x][\xd6]"},   {"", "0:"},
  };
  for (const Case& c : cases) {
    TextList list = {"stale"};
    const int n = SplitCharacters(c.text, list);
    std::string got = std::to_string(n) + ":";
    for (const Text& t : list) got += "[" + t.str() + "]";
    EXPECT_EQ(got, c.want);
  }
}

}  // namespace
