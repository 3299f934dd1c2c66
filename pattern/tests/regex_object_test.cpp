#include "pattern/regex_object.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "platform/automation.h"
#include "text/primitives.h"

namespace {

const Text kPicture("class=\"img\" style=\"background-image:url(.*);\" .*></i>");

Text Element(const char* id) {
  return ConcatTexts(
      {"class=\"img\" style=\"background-image:url(http://h/", id, "/w/5);\" data-i=\"1\"></i>"});
}

TEST(RegexObject, OptionDefaults) {
  RegexObject re;
  // Case ignored unless asked for; multi-line and global on.
  ASSERT_TRUE(re.Search("^b", "a\nB\nb"));
  EXPECT_EQ(re.MatchCount(), 2);
  ASSERT_TRUE(re.Search("^b", "a\nB\nb", false));
  EXPECT_EQ(re.MatchCount(), 2);
  ASSERT_TRUE(re.Search("^b", "a\nB\nb", true));
  EXPECT_EQ(re.MatchCount(), 1);
  ASSERT_TRUE(re.Search("^b", "a\nB\nb", false, false));
  EXPECT_EQ(re.MatchCount(), 0) << "without multi-line ^ is the start of the text";
  ASSERT_TRUE(re.Search("b", "bbb", true, true, false));
  EXPECT_EQ(re.MatchCount(), 1) << "without global only the first match";
  ASSERT_TRUE(re.Search("x", "abc"));
  EXPECT_EQ(re.MatchCount(), 0) << "a search without matches still succeeds";
}

TEST(RegexObject, PictureElementsStayOnTheirLines) {
  RegexObject re;
  const Text three = ConcatTexts({Element("1"), "\r\n", Element("2"), "\r\n", Element("3")});
  re.Search(kPicture, three, false);
  ASSERT_EQ(re.MatchCount(), 3);
  EXPECT_EQ(re.MatchText(2).str(), Element("2").str()) << "'.' stops at the line feed";

  const Text oneLine = ConcatTexts({Element("1"), " ", Element("2"), " ", Element("3"), " x"});
  re.Search(kPicture, oneLine, false);
  ASSERT_EQ(re.MatchCount(), 1);
  const Text m = re.MatchText(1);
  EXPECT_EQ(TextRight(m, 5).str(), "></i>");
  EXPECT_EQ(TextLength(m), TextLength(oneLine) - 2) << "greedy to the last \"></i>\"";

  re.Search(kPicture, "CLASS=\"IMG\" STYLE=\"BACKGROUND-IMAGE:URL(x);\" A></I>", false);
  EXPECT_EQ(re.MatchCount(), 1) << "upper-case attributes match";
}

TEST(RegexObject, RejectedPatternGivesEmptyResults) {
  RegexObject re;
  EXPECT_FALSE(re.Search("(unclosed", "unclosed"));
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.MatchText(1).str(), "");
  EXPECT_EQ(re.SubMatchCount(), 0);
}

TEST(RegexObject, MatchesByNumber) {
  RegexObject re;
  EXPECT_EQ(re.CurrentPattern().str(), "") << "before any search";
  ASSERT_TRUE(re.Search("(a)(x)?(b)", "ab ab"));
  EXPECT_EQ(re.CurrentPattern().str(), "(a)(x)?(b)");
  EXPECT_EQ(re.MatchCount(), 2);
  EXPECT_EQ(re.MatchText(0).str(), "");
  EXPECT_EQ(re.MatchText(3).str(), "");
  EXPECT_EQ(re.SubMatchCount(), 3);
  EXPECT_EQ(re.SubMatchText(2, 1).str(), "a");
  EXPECT_EQ(re.SubMatchText(2, 2).str(), "") << "a group that took no part";
  EXPECT_EQ(re.SubMatchText(2, 3).str(), "b");
  EXPECT_EQ(re.SubMatchText(2, 4).str(), "");
  re.Search("(a)", "zzz");
  EXPECT_EQ(re.SubMatchCount(), 0) << "no match, no groups";
}

TEST(RegexObject, PositionsCountBytesWhileTheEngineCountsUnits) {
  RegexObject re;
  // 中文 are two units in the engine but four bytes in the text.
  const Text subject("\xd6\xd0\xce\xc4x=1 x=2");
  ASSERT_TRUE(re.Search("x=(.)", subject));
  int position = -99;
  EXPECT_EQ(re.MatchText(2, &position).str(), "x=2");
  EXPECT_EQ(position, 8);
  EXPECT_EQ(re.MatchText(1, &position).str(), "x=1");
  EXPECT_EQ(position, 4) << "FirstIndex 2 falls on the second byte of the first character";
  EXPECT_EQ(re.SubMatchText(2, 1, &position).str(), "2");
  EXPECT_EQ(position, 10);
  // The match's wide value comes back in code page 936.
  ASSERT_TRUE(re.Search("\xce\xc4.", subject));
  EXPECT_EQ(re.MatchText(1, &position).str(), "\xce\xc4x");
  EXPECT_EQ(position, 2);
}

TEST(RegexObject, QuoteEscapeAndGlobalIteration) {
  RegexObject re;
  const Text escaped("a=#\xd2\xfd\xba\xc5(.)");
  re.Search(escaped, "a=\"q", {}, {}, {}, true);
  EXPECT_EQ(re.SubMatchText(1, 1).str(), "q");
  re.Search(escaped, "a=\"q");
  EXPECT_EQ(re.MatchCount(), 0) << "without the escape the marker stays in the pattern";
  re.Search("x*", "ab");
  EXPECT_EQ(re.MatchCount(), 3) << "empty matches move on by one unit";
  re.Search("aa", "aaaa");
  EXPECT_EQ(re.MatchCount(), 2) << "no overlap";
}

TEST(RegexObject, ReplaceMatches) {
  RegexObject re;
  re.Search("(\\w+)@(\\w+)", "me@home, you@work");
  EXPECT_EQ(re.ReplaceMatches("$2:$1").str(), "home:me, work:you");
  EXPECT_EQ(re.ReplaceMatches("[$&|$`]").str(), "[me@home|], [you@work|me@home, ]");
  EXPECT_EQ(re.ReplaceMatches("$$ $' $3 $").str(), "$ , you@work $3 $, $  $3 $");
  EXPECT_EQ(re.ReplaceMatches().str(), ", ");
  re.Search("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "abcdefghij");
  EXPECT_EQ(re.ReplaceMatches("$10|$11").str(), "j|a1");
}

TEST(RegexObject, InitialisesItsThreadAndBalances) {
  std::thread([] {
    EXPECT_EQ(platform::CoInitializeCount(), 0);
    {
      auto re = std::make_unique<RegexObject>();
      EXPECT_EQ(platform::CoInitializeCount(), 1);
      re->Search("a", "a");
      RegexObject copy(*re);
      EXPECT_EQ(platform::CoInitializeCount(), 2);
      re->End();
      EXPECT_EQ(copy.MatchCount(), 1) << "a copy shares the matches";
      EXPECT_EQ(re->MatchCount(), 0) << "an ended object is empty";
      EXPECT_EQ(platform::CoInitializeCount(), 1);
    }
    EXPECT_EQ(platform::CoInitializeCount(), 0);
    EXPECT_EQ(platform::CreateObject(u"VBScript.RegExp"), nullptr) << "uninitialised thread";
  }).join();
}

TEST(Automation, UnknownMembersFail) {
  platform::CoInitialize(nullptr);
  auto re = platform::CreateObject(u"VBScript.RegExp");
  ASSERT_NE(re, nullptr);
  EXPECT_EQ(platform::CreateObject(u"Scripting.FileSystemObject"), nullptr);
  EXPECT_FALSE(re->PutProperty("Singleline", platform::Variant::Boolean(true)));
  platform::Variant v;
  EXPECT_FALSE(re->GetProperty("Singleline", {}, &v));
  EXPECT_FALSE(re->CallMethod("Compile", {}, &v));
  EXPECT_TRUE(re->GetProperty("Global", {}, &v));
  EXPECT_FALSE(v.boolean);
  platform::CoUninitialize();
}

}  // namespace
