#include "text/primitives.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace {

// A double-byte character whose second byte is the letter A.
const Text kLeadA("\xb0\x41");
const Text kWide("\xd6\xd0");  // 中

TEST(Primitives, CuttingClampsPositionsAndCounts) {
  struct Case {
    const char* what;
    Text got;
    Text want;
  } cases[] = {
      {"mid from 4 by 10", TextMid("abcde", 4, 10), "de"},
      {"mid from 0", TextMid("abcde", 0, 2), ""},
      {"mid from 6", TextMid("abcde", 6, 1), ""},
      {"mid n 0", TextMid("abcde", 2, 0), ""},
      {"mid at INT_MAX", TextMid("abcde", 1, INT_MAX), "abcde"},
      {"left past end", TextLeft("abc", 9), "abc"},
      {"left 0", TextLeft("abc", 0), ""},
      {"left negative", TextLeft("abc", -1), ""},
      {"right past end", TextRight("abc", 9), "abc"},
      {"right 2", TextRight("abc", 2), "bc"},
      {"right negative", TextRight("abc", -3), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got.str(), c.want.str()) << c.what;
}

TEST(Primitives, CharactersAndCodes) {
  EXPECT_EQ(CharFromCode(0).str(), "");
  EXPECT_EQ(CharFromCode(256 + 'A').str(), "A");
  EXPECT_EQ(CharFromCode(-34).str(), "\xde");
  EXPECT_EQ(CharCode("\xb0x"), -80);
  EXPECT_EQ(CharCode("ab", 2), 'b');
  EXPECT_EQ(CharCode("ab", 0), 0);
  EXPECT_EQ(CharCode("ab", 3), 0);
  EXPECT_EQ(CharCode(""), 0);
}

TEST(Primitives, FindText) {
  const Text ten("a/b/c/d/e/");
  struct Case {
    const char* what;
    Text text;
    Text sought;
    int start;
    bool ignoreCase;
    int want;
  } cases[] = {
      {"first slash", ten, "/", 0, false, 2},
      {"from start 3", ten, "/", 3, false, 4},
      {"start 1 searches whole text", ten, "/", 1, false, 2},
      {"negative start searches whole text", ten, "/", -5, false, 2},
      {"start past end", ten, "/", 11, false, -1},
      {"start on last byte", ten, "/", 10, false, 10},
      {"empty sought gives 1", ten, "", 5, false, 1},
      {"empty sought past end", ten, "", 11, false, -1},
      {"empty sought in empty text", "", "", 0, false, -1},
      {"not found", ten, "x", 0, false, -1},
      {"sought longer than rest", "abc", "bcd", 0, false, -1},
      {"case differs", "Content-Type", "content-type", 0, false, -1},
      {"case folded", "x\r\nuser-agent: a", "User-Agent:", 0, true, 4},
      {"second byte never matched", ConcatTexts({kLeadA, "A"}), "A", 0, false, 3},
      {"second byte and next char", ConcatTexts({kLeadA, "Bx"}), "AB", 0, false, -1},
      {"folded second byte", ConcatTexts({kLeadA, "a"}), "A", 0, true, 3},
      {"after double-byte run", ConcatTexts({kWide, kWide, "<i"}), "<i", 0, false, 5},
      {"odd run hides marker", "\xb0<i<i", "<i", 0, false, 4},
      {"start inside a character", ConcatTexts({kLeadA, "A"}), "A", 2, false, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.want) << c.what;
  }
}

TEST(Primitives, FindTextReverse) {
  struct Case {
    const char* what;
    Text text;
    Text sought;
    std::optional<int> start;
    int want;
  } cases[] = {
      {"omitted start", "abc.def", ".", std::nullopt, 4},
      {"start 5", "abc.def", ".", 5, 4},
      {"start 4 excludes the dot", "abc.def", ".", 4, -1},
      {"start 1 is empty", "abc.def", ".", 1, -1},
      {"last of several", "a.b.c", ".", std::nullopt, 4},
      {"walks leftwards", "a.b.c", ".", 4, 2},
      {"must lie wholly inside", "ab..", "..", 4, -1},
      {"empty sought", "abc", "", 2, 1},
      {"empty sought, empty region", "abc", "", 1, -1},
      {"start past end", "a.b", ".", 99, 2},
      {"second byte skipped", ConcatTexts({kLeadA, "x"}), "A", std::nullopt, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindTextReverse(c.text, c.sought, c.start), c.want) << c.what;
  }
  EXPECT_EQ(FindTextReverse("A.B", "b", std::nullopt, true), 3);
}

TEST(Primitives, CaseMappingSkipsDoubleByteCharacters) {
  const Text mixed = ConcatTexts({"aZ", kLeadA, "\xb0\x61", "m"});
  EXPECT_EQ(ToUpperText(mixed).str(), ConcatTexts({"AZ", kLeadA, "\xb0\x61", "M"}).str());
  EXPECT_EQ(ToLowerText(mixed).str(), ConcatTexts({"az", kLeadA, "\xb0\x61", "m"}).str());
}

TEST(Primitives, TextToInt) {
  struct Case {
    Text text;
    int want;
  } cases[] = {
      {"  -12ab", -12},
      {"abc", 0},
      {"", 0},
      {"+7", 7},
      {"\t\n42", 42},
      {"8080/path", 8080},
      {"\xa3\xb1\xa3\xb2", 12},          // full-width digits
      {"\xa1\xa1\xa3\xad\xa3\xb3", -3},  // full-width blank, minus, 3
      {"4294967297", 1},                 // wraps at 32 bits
      {"-2147483648", INT_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(TextToInt(c.text), c.want) << c.text.str();
}

TEST(Primitives, TrimBoth) {
  struct Case {
    Text text;
    Text want;
  } cases[] = {
      {"  a b  ", "a b"},
      {"\ta\n", "\ta\n"},
      {"\xa1\xa1 x \xa1\xa1 \xa1\xa1", "x"},
      {"   ", ""},
      // 0xB0 0xA1 is one character, so the 0xA1 after it begins no blank.
      {"x\xb0\xa1\xa1", "x\xb0\xa1\xa1"},
  };
  for (const Case& c : cases) EXPECT_EQ(TrimBoth(c.text).str(), c.want.str()) << c.text.str();
}

TEST(Primitives, ReplaceText) {
  struct Case {
    const char* what;
    Text got;
    Text want;
  } cases[] = {
      {"all", ReplaceText("a<ib<i", "<i", "\r\n", 1, {}, true), "a\r\nb\r\n"},
      {"omitted replacement removes", ReplaceText("x<y<", "<", {}, 1, {}, true), "xy"},
      {"count 1", ReplaceText("aaa", "a", "b", 1, 1, true), "baa"},
      {"count 0", ReplaceText("aaa", "a", "b", 1, 0, true), "aaa"},
      {"from start 2", ReplaceText("aaa", "a", "b", 2, {}, true), "abb"},
      {"start past end", ReplaceText("aaa", "a", "b", 4, {}, true), "aaa"},
      {"empty sought", ReplaceText("aaa", "", "b", 1, {}, true), "aaa"},
      {"no overlap", ReplaceText("aaaa", "aa", "a", 1, {}, true), "aa"},
      {"replacement not rescanned", ReplaceText("ab", "a", "aa", 1, {}, true), "aab"},
      {"case folded", ReplaceText("SET-COOKIE: x", "Set-Cookie:", {}, 1, {}, false), " x"},
      {"case kept", ReplaceText("SET-COOKIE: x", "Set-Cookie:", {}, 1, {}, true), "SET-COOKIE: x"},
      {"second byte skipped", ReplaceText(ConcatTexts({kLeadA, "A"}), "A", "z", 1, {}, true),
       ConcatTexts({kLeadA, "z"})},
      {"dangling lead kept", ReplaceText("a\xb0", "a", "b", 1, {}, true), "b\xb0"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got.str(), c.want.str()) << c.what;
}

std::string Joined(const TextList& list) {
  std::string out = std::to_string(ListCount(list)) + ":";
  for (const Text& t : list) out += "[" + t.str() + "]";
  return out;
}

TEST(Primitives, SplitText) {
  struct Case {
    const char* what;
    TextList got;
    const char* want;
  } cases[] = {
      {"trailing separator", SplitText("a; b; ", "; "), "2:[a][b]"},
      {"leading separator", SplitText("; a", "; "), "2:[][a]"},
      {"adjacent separators", SplitText("a; ; b", "; "), "3:[a][][b]"},
      {"empty text", SplitText("", "; "), "0:"},
      {"no separator", SplitText("abc", "; "), "1:[abc]"},
      {"empty separator", SplitText("a,b", ""), "1:[a,b]"},
      {"default comma", SplitText("a,b"), "2:[a][b]"},
      {"maximum drops the rest", SplitText("a,b,c", ",", 2), "2:[a][b]"},
      {"maximum 0", SplitText("a,b", ",", 0), "0:"},
      {"second byte not a separator", SplitText("\xb0,x", ","), "1:[\xb0,x]"},
  };
  for (const Case& c : cases) EXPECT_EQ(Joined(c.got), c.want) << c.what;
}

TEST(Primitives, TextsAndBytes) {
  const Bytes withZero(std::string("A\0B", 3));
  EXPECT_EQ(BytesToText(withZero).str(), "A");
  EXPECT_EQ(BytesLength(withZero), 3);
  EXPECT_EQ(TextToBytes("ab").str(), "ab");
  EXPECT_TRUE(TextToBytes("").empty());
  EXPECT_EQ(BlankText(3).str(), "   ");
  EXPECT_TRUE(BlankText(-1).empty());
  EXPECT_EQ(BlankBytes(2).str(), std::string("\0\0", 2));
  EXPECT_EQ(BytesLeft(withZero, 2).str(), std::string("A\0", 2));
  EXPECT_TRUE(BytesLeft(withZero, -1).empty());
  EXPECT_EQ(BytesMid(withZero, 2, 5).str(), std::string("\0B", 2));
  EXPECT_EQ(BytesMid(withZero, 0, 1).str(), "A");
  EXPECT_TRUE(BytesMid(withZero, 9, 1).empty());
  EXPECT_TRUE(BytesMid(withZero, 1, -1).empty());
  EXPECT_TRUE(BytesEqual(ConcatBytes({Bytes("a"), withZero}), Bytes(std::string("aA\0B", 4))));
  EXPECT_TRUE(TextEquals(Text(), ""));
  EXPECT_FALSE(TextEquals("a", "A"));
  EXPECT_EQ(BitOr({INT_MIN, 0x10, 0x80000}), INT_MIN | 0x80010);
}

TEST(Primitives, NumberToText) {
  EXPECT_EQ(NumberToText(0).str(), "0");
  EXPECT_EQ(NumberToText(-42).str(), "-42");
  EXPECT_EQ(NumberToText(INT_MIN).str(), "-2147483648");
  EXPECT_EQ(NumberToText(1.0).str(), "1");
  EXPECT_EQ(NumberToText(2.0).str(), "2");
  EXPECT_EQ(NumberToText(3.5).str(), "3.5");
  EXPECT_EQ(NumberToText(123456.0).str(), "123456");
  EXPECT_EQ(NumberToText(1.0 / 3).str(), "0.3333333333333");
  EXPECT_EQ(NumberToText(1e20).str(), "1e+20");
}

TEST(Primitives, DateTimeToText) {
  // 年 月 日 时 分 秒
  const std::string y = "\xc4\xea", mo = "\xd4\xc2", d = "\xc8\xd5";
  const std::string h = "\xca\xb1", mi = "\xb7\xd6", s = "\xc3\xeb";
  EXPECT_EQ(DateTimeToText({2024, 3, 5, 14, 7, 9}).str(),
            "2024" + y + "3" + mo + "5" + d + "14" + h + "7" + mi + "9" + s);
  EXPECT_EQ(DateTimeToText({2024, 3, 5, 14, 7, 0}).str(),
            "2024" + y + "3" + mo + "5" + d + "14" + h + "7" + mi);
  EXPECT_EQ(DateTimeToText({2024, 3, 5, 14, 0, 5}).str(),
            "2024" + y + "3" + mo + "5" + d + "14" + h + "0" + mi + "5" + s);
  EXPECT_EQ(DateTimeToText({2024, 3, 5, 14, 0, 0}).str(),
            "2024" + y + "3" + mo + "5" + d + "14" + h);
  EXPECT_EQ(DateTimeToText({2024, 3, 5, 0, 0, 0}).str(), "2024" + y + "3" + mo + "5" + d);
}

TEST(Primitives, TextNeverHoldsAZeroByte) {
  EXPECT_EQ(Text(std::string_view("ab\0cd", 5)).str(), "ab");
  Text t("x");
  t.Append(std::string_view("y\0z", 3));
  EXPECT_EQ(t.str(), "xy");
}

}  // namespace
