#include "web/url.h"

#include "text/primitives.h"
#include "text/text_between.h"

Text UrlHost(const Text& url, bool domainOnly, bool keepPort, std::optional<int> suffixDots) {
  Text t = ToLowerText(url);
  if (!suffixDots) {
    if (!TextEquals(TextRight(t, 1), "/")) t = ConcatTexts({t, "/"});
    Text scheme = "https://";
    if (!TextEquals(TextLeft(t, 8), "https://")) {
      scheme = "http://";
      if (FindText(t, "http://", 1, false) == -1) t = ConcatTexts({"http://", t});
    }
    t = TextBetween(t, scheme, "/");
    if (domainOnly) {
      const TextList pieces = SplitText(t, ".");
      const int n = ListCount(pieces);
      if (n >= 2) t = ConcatTexts({pieces[n - 2], ".", pieces[n - 1]});
    }
  } else {
    t = ReplaceText(t, "http://", Text(), 1, {}, true);
    t = ReplaceText(t, "https://", Text(), 1, {}, true);
    const int slash = FindText(t, "/", 1, false);
    if (slash != -1) t = TextLeft(t, slash - 1);
    const int len = TextLength(t);
    int m = len;
    for (int i = 0; i < *suffixDots; ++i) m = FindTextReverse(t, ".", m, false);
    const int o = FindTextReverse(t, ".", m, false);
    if (domainOnly) {
      t = TextRight(t, len - o);
    } else if (o != -1) {
      const int o2 = FindTextReverse(t, ".", o, false);
      if (o2 != -1) t = TextRight(t, len - o2);
    }
  }
  if (keepPort) return t;
  const int colon = FindText(t, ":", 1, false);
  return colon == -1 ? t : TextLeft(t, colon - 1);
}

int UrlPort(const Text& url) {
  const Text h = UrlHost(url, false, true);
  const int colon = FindTextReverse(h, ":", std::nullopt, false);
  if (colon != -1) return TextToInt(TextMid(h, colon + 1, TextLength(h)));
  return TextEquals(TextLeft(ToLowerText(url), 5), "https") ? 443 : 80;
}

Text UrlPath(const Text& url) {
  const Text h = UrlHost(url);
  // The host is looked for after the scheme, so that a host such as "h" or
  // "tp" is not found inside "http://" itself.
  const Text lower = ToLowerText(url);
  int from = 1;
  if (TextEquals(TextLeft(lower, 8), "https://")) {
    from = 9;
  } else if (TextEquals(TextLeft(lower, 7), "http://")) {
    from = 8;
  }
  const int a = FindText(url, h, from, true);
  const int b = FindText(url, "/", a == -1 ? 1 : a, false);
  if (b == -1) return "/";
  return TextMid(url, b, TextLength(url));
}
