#include "text/percent.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PercentDecode, DigitRule) {
  struct Case {
    Text text;
    bool fromUtf8;
    std::string want;
  } cases[] = {
      {"a%20b", false, "a b"},
      {"%2B", false, "+"},
      {"%2b", false, "+"},
      {"a+b", false, "a+b"},
      {"100%", false, "100"},
      {"%4", false, "\x40"},
      {"a%00b", false, "ab"},
      {"%zz", false, "\xde"},
      {"%4g", false, ">"},
      {"%e4%b8%ad", false, "\xe4\xb8\xad"},
      {"%e4%b8%ad", true, "\xd6\xd0"},  // 中
      {"\xe4\xb8\xad%20", true, "\xd6\xd0 "},
      {"\xd6\xd0%41", false,
       "\xd6\xd0"
       "A"},  // double-byte bytes stay
      {"", true, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PercentDecode(c.text, c.fromUtf8).str(), c.want) << c.text.str();
  }
}

TEST(Utf8ToAnsi, ConvertsAndReplaces) {
  EXPECT_EQ(Utf8ToAnsi("").str(), "");
  // 春日｜ and an emoji that code page 936 lacks.
  EXPECT_EQ(Utf8ToAnsi("\xe6\x98\xa5\xe6\x97\xa5\xef\xbd\x9c").str(), "\xb4\xba\xc8\xd5\xa3\xfc");
  EXPECT_EQ(Utf8ToAnsi("a\xf0\x9f\x8c\xb8"
                       "b")
                .str(),
            "a_b");
  // A malformed byte becomes U+FFFD, which code page 936 lacks as well.
  EXPECT_EQ(Utf8ToAnsi("a\xff"
                       "b")
                .str(),
            "a_b");
}

TEST(TextToWide, BufferLayout) {
  EXPECT_EQ(TextToWide("").str(), std::string(2, '\0'));
  EXPECT_EQ(TextToWide("A\xe4\xb8\xad").str(), std::string("A\0\x2d\x4e\0\0", 6));
  EXPECT_EQ(TextToWide("\xd6\xd0", 936).str(), std::string("\x2d\x4e\0\0", 4));
}

TEST(WideToText, ReadsUpToTheZeroUnit) {
  EXPECT_EQ(WideToText(Bytes(std::string("\x2d\x4e\0\0x\0", 6))).str(), "\xd6\xd0");
  EXPECT_EQ(WideToText(Bytes(std::string("A\0", 2)), 65001).str(), "A");
  EXPECT_EQ(WideToText(Bytes()).str(), "");
  // No zero unit and an odd length: read no further than the buffer.
  EXPECT_EQ(WideToText(Bytes(std::string("A\0B", 3))).str(), "A");
}

}  // namespace
