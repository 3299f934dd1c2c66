#include "web/headers.h"

#include "text/primitives.h"
#include "text/text_between.h"

const Text kDefaultUserAgent("Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)");

namespace {

const Text kCrLf("\r\n");

bool Contains(const Text& block, const Text& name) { return FindText(block, name, 1, true) != -1; }

}  // namespace

Text CapitalizeFirst(const Text& word) {
  const Text first = TextLeft(word, 1);
  const int c = CharCode(first);
  const Text head = (c >= 'a' && c <= 'z') ? ToUpperText(first) : first;
  return ConcatTexts({head, TextMid(word, 2, TextLength(word))});
}

Text NormalizeHeaderNames(const Text& block) {
  Text out;
  bool any = false;
  for (const Text& line : SplitText(block, kCrLf)) {
    const int colon = FindText(line, ":", 1, false);
    if (colon == -1) continue;
    const Text name = TextLeft(line, colon - 1);
    Text newName;
    if (FindText(name, "-", 1, false) != -1) {
      const TextList pieces = SplitText(name, "-");
      for (int i = 0; i < ListCount(pieces); ++i) {
        if (i > 0) newName.Append("-");
        newName.Append(CapitalizeFirst(pieces[i]));
      }
    } else {
      newName = CapitalizeFirst(name);
    }
    if (any) out.Append(kCrLf);
    out.Append(newName);
    out.Append(TextMid(line, colon, TextLength(line)));
    any = true;
  }
  return out;
}

Text HeaderValue(const Text& line) {
  const int colon = FindText(line, ":", 1, false);
  if (colon == -1) return Text();
  return TrimBoth(TextMid(line, colon + 1, TextLength(line)));
}

Text PickUserAgent(const Text& extraHeaders) {
  if (!Contains(extraHeaders, "User-Agent:")) return kDefaultUserAgent;
  Text v = TrimBoth(TextBetween(ConcatTexts({extraHeaders, kCrLf}), "User-Agent:", kCrLf));
  if (v.empty()) v = HeaderValue(extraHeaders);
  return v;
}

Text CompleteRequestHeaders(const Text& block, const Text& url, int method) {
  Text t = block.empty() ? Text("Accept: */*") : block;
  if (!Contains(t, "Accept:")) t = ConcatTexts({t, "\r\nAccept: */*"});
  if (!Contains(t, "Referer:")) t = ConcatTexts({t, "\r\nReferer: ", url});
  if (!Contains(t, "Accept-Language:")) t = ConcatTexts({t, "\r\nAccept-Language: zh-cn"});
  if (method == 1 && !Contains(t, "Content-Type:")) {
    t = ConcatTexts({t, "\r\nContent-Type: application/x-www-form-urlencoded"});
  }
  return t;
}

Text AppendCookieHeader(const Text& block, const Text& cookies) {
  if (cookies.empty()) return block;
  if (FindText(cookies, "Cookie:", 1, false) != -1) return ConcatTexts({block, kCrLf, cookies});
  return ConcatTexts({block, "\r\nCookie: ", cookies});
}
