#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::MultiByteToWideChar;
using platform::WideCharToMultiByte;

std::u16string ToWide(unsigned page, const std::string& s) {
  const int n = MultiByteToWideChar(page, 0, s.c_str(), -1, nullptr, 0);
  std::u16string out(n, u'\0');
  EXPECT_EQ(MultiByteToWideChar(page, 0, s.c_str(), -1, out.data(), n), n);
  return out;
}

std::string FromWide(unsigned page, const std::u16string& w) {
  const int n = WideCharToMultiByte(page, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  EXPECT_EQ(WideCharToMultiByte(page, 0, w.c_str(), -1, out.data(), n, nullptr, nullptr), n);
  return out;
}

TEST(CodePage, MeasuresAndConvertsWithTheZeroUnit) {
  EXPECT_EQ(ToWide(936, ""), std::u16string(1, u'\0'));
  EXPECT_EQ(ToWide(936, "a\xd6\xd0"), std::u16string(u"a\u4e2d\0", 3));
  EXPECT_EQ(ToWide(0, "\xd6\xd0"), std::u16string(u"\u4e2d\0", 2));  // 0 stands for 936
  EXPECT_EQ(ToWide(65001, "\xe4\xb8\xad"), std::u16string(u"\u4e2d\0", 2));
  EXPECT_EQ(FromWide(936, u"a\u4e2d"), std::string("a\xd6\xd0\0", 4));
  EXPECT_EQ(FromWide(65001, u"\u4e2d"), std::string("\xe4\xb8\xad\0", 4));
}

TEST(CodePage, MalformedAndUnmappableInput) {
  // Every code page 936 character, malformed or not, is one unit.
  EXPECT_EQ(ToWide(936, "\x81\x20x"), std::u16string(u"\ufffdx\0", 3));
  EXPECT_EQ(ToWide(936, "x\x81"), std::u16string(u"x\ufffd\0", 3));
  EXPECT_EQ(ToWide(65001, "\xe4\xb8"), std::u16string(u"\ufffd\0", 2));
  // An emoji (a surrogate pair) that code page 936 lacks becomes one '_'.
  EXPECT_EQ(FromWide(936, u"a\U0001F338b"), std::string("a_b\0", 4));
  bool used = false;
  char out[8];
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\U0001F338", -1, out, 8, "?", &used), 2);
  EXPECT_EQ(out[0], '?');
  EXPECT_TRUE(used);
}

TEST(CodePage, ExplicitLengthsAndShortBuffers) {
  char16_t units[4];
  EXPECT_EQ(MultiByteToWideChar(936, 0, "abc", 2, units, 4), 2);
  EXPECT_EQ(units[1], u'b');
  EXPECT_EQ(MultiByteToWideChar(936, 0, "abc", -1, units, 3), 0) << "no room for the zero unit";
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0), 0) << "unknown code page";
  char bytes[2];
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\u4e2d", -1, bytes, 2, nullptr, nullptr), 0);
}

}  // namespace
