#include "app/harvest.h"

#include "text/percent.h"
#include "text/primitives.h"
#include "text/text_between.h"

const Text PicturePattern("class=\"img\" style=\"background-image:url(.*);\" .*></i>");

Text FolderNameFromPage(const Text& page) {
  Text t = TextBetween(page, "<title>", "/title>");
  t = PercentDecode(t, true);
  return ReplaceText(t, "<", Text(), 1, {}, true);
}

Text CutPictureStrip(const Text& page) {
  const Text strip = TextBetween(page, "<div class=\"each active\"", "<div class=\"note-top\"");
  return ReplaceText(strip, "<i", "\r\n", 1, {}, true);
}

int FindPictureMatches(RegexObject& regex, const Text& strip) {
  regex.Search(PicturePattern, strip, false);
  return regex.MatchCount();
}

Text PictureAddressFromMatch(const Text& match) { return TextBetween(match, "(", ")"); }

Text ResizeImageAddress(const Text& address, int w, int h, int q) {
  const Text p = TextBefore(address, "/w/");
  return ConcatTexts({p, "/w/", NumberToText(w), "/h/", NumberToText(h), "/q/", NumberToText(q)});
}

Text PictureFilePath(const Text& directory, const Text& folder, int n) {
  return ConcatTexts({directory, "/", folder, "/", NumberToText(n), ".png"});
}
