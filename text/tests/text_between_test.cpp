#include "text/text_between.h"

#include <gtest/gtest.h>

#include "text/primitives.h"

namespace {

const Text kQuote("#\xd2\xfd\xba\xc5");  // #引号

TEST(TextBetween, Cases) {
  struct Case {
    const char* what;
    Text got;
    Text want;
  } cases[] = {
      {"title keeps the closing '<'", TextBetween("<title>Note</title>", "<title>", "/title>"),
       "Note<"},
      {"right marker after the left one", TextBetween("a)b(c)d", "(", ")"), "c"},
      {"no right marker after the left one", TextBetween("a)b(c", "(", ")"), ""},
      {"no left marker", TextBetween("abc", "(", ")"), ""},
      {"adjacent markers", TextBetween("a()", "(", ")"), ""},
      {"empty right marker", TextBetween("a(b)", "(", ""), ""},
      {"empty left marker", TextBetween("ab)c", "", ")"), "ab"},
      {"quote escape", TextBetween("a=\"x\"", ConcatTexts({"=", kQuote}), kQuote), "x"},
      {"start past the end", TextBetween("(a)", "(", ")", 4), ""},
      {"start 0", TextBetween("(a)(b)", "(", ")", 0), "a"},
      {"negative start", TextBetween("(a)(b)", "(", ")", -3), "a"},
      {"start 2", TextBetween("(a)(b)", "(", ")", 2), "b"},
      {"exact case", TextBetween("<TITLE>x</TITLE>", "<title>", "/title>"), ""},
      {"ignore case", TextBetween("<TITLE>x</TITLE>", "<title>", "/title>", 0, true), "x<"},
      {"marker inside a character", TextBetween("\xb0(x(y)", "(", ")"), "y"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got.str(), c.want.str()) << c.what;
}

TEST(TextBefore, Cases) {
  struct Case {
    const char* what;
    Text got;
    Text want;
  } cases[] = {
      {"first marker", TextBefore("a:b:c", ":"), "a"},
      {"from start 3", TextBefore("a:b:c", ":", 3), "a:b"},
      {"backward -1", TextBefore("a:b:c", ":", -1), "a:b"},
      {"backward -1 skips a marker on the last byte", TextBefore("a;b;", ";", -1), "a"},
      {"backward -2 searches the first byte only", TextBefore("a;b;", ";", -2), ""},
      {"marker at position 1", TextBefore(":a", ":"), ""},
      {"not found", TextBefore("abc", ":"), ""},
      {"quote escape taken literally", TextBefore("a\"b", kQuote), ""},
      {"marker byte as second byte", TextBefore("\xb0:x:y", ":"), "\xb0:x"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got.str(), c.want.str()) << c.what;
}

}  // namespace
