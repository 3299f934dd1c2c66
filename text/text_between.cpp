#include "text/text_between.h"

#include "text/primitives.h"

const Text kQuoteEscape("#\xd2\xfd\xba\xc5");

namespace {

Text Unescape(const Text& marker) { return ReplaceText(marker, kQuoteEscape, "\"", 1, {}, true); }

}  // namespace

Text TextBetween(const Text& text, const Text& left, const Text& right, int start,
                 bool ignoreCase) {
  const Text l = Unescape(left);
  const Text r = Unescape(right);
  const int found = FindText(text, l, start, ignoreCase);
  if (found == -1) return Text();
  const int begin = found + TextLength(l);
  const int end = FindText(text, r, begin, ignoreCase);
  if (end == -1) return Text();
  return TextMid(text, begin, end - begin);
}

Text TextBefore(const Text& text, const Text& marker, int start, bool ignoreCase) {
  const int len = TextLength(text);
  int found;
  if (start < 0) {
    int n = -start;
    if (n == 1) n = 0;
    found = FindTextReverse(text, marker, len - n, ignoreCase);
  } else {
    found = FindText(text, marker, start == 0 ? 1 : start, ignoreCase);
  }
  if (found == -1) return Text();
  return TextLeft(text, found - 1);
}
