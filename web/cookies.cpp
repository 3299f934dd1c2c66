#include "web/cookies.h"

#include "text/primitives.h"

namespace {

const Text kSeparator("; ");

void Normalize(Text& cookies) {
  cookies = TrimBoth(cookies);
  if (TextEquals(TextRight(cookies, 1), ";")) cookies = ConcatTexts({cookies, " "});
}

}  // namespace

Text MergeCookies(Text& oldCookies, Text& newCookies) {
  Normalize(oldCookies);
  Normalize(newCookies);
  const TextList oldList = SplitText(oldCookies, kSeparator);
  TextList newList = SplitText(newCookies, kSeparator);
  for (const Text& entry : oldList) {
    if (!HasCookie(newList, CookieName(entry))) newList.push_back(entry);
  }
  Text rebuilt;
  for (const Text& entry : newList) {
    if (TextEquals(TextRight(entry, 8), "=deleted")) continue;
    rebuilt.Append(entry);
    rebuilt.Append(kSeparator);
  }
  rebuilt = TextLeft(rebuilt, TextLength(rebuilt) - 2);
  oldCookies = JoinUnique(rebuilt, kSeparator, true);
  return oldCookies;
}

Text CookieName(const Text& entry) {
  const int p = FindText(entry, "=", 1, false);
  return TrimBoth(p == -1 ? entry : TextLeft(entry, p - 1));
}

bool HasCookie(const TextList& entries, const Text& name) {
  for (const Text& entry : entries) {
    if (TextEquals(CookieName(entry), name)) return true;
  }
  return false;
}

Text JoinUnique(const Text& text, const Text& separator, bool splitBySeparator) {
  TextList pieces;
  if (splitBySeparator) {
    pieces = SplitText(text, separator);
  } else {
    SplitCharacters(text, pieces);
  }
  TextList taken;
  Text out;
  for (const Text& piece : pieces) {
    if (ListIndexOf(taken, piece) != -1) continue;
    taken.push_back(piece);
    out.Append(piece);
    out.Append(separator);
  }
  return TextLeft(out, TextLength(out) - TextLength(separator));
}

int SplitCharacters(const Text& text, TextList& list) {
  list.clear();
  const Bytes bytes = TextToBytes(text);
  const int n = BytesLength(bytes);
  for (int d = 1; d <= n;) {
    const unsigned char c = static_cast<unsigned char>(bytes.data()[d - 1]);
    int b = 1;
    if (d + 1 > n) {
      b = 1;
    } else if (c > 0x80) {
      b = 2;
    } else if (c == 0x0D && bytes.data()[d] == 0x0A) {
      b = 2;
    }
    list.push_back(BytesToText(BytesMid(bytes, d, b)));
    d += b;
  }
  return ListCount(list);
}

int ListIndexOf(const TextList& list, const Text& text) {
  for (int i = 0; i < ListCount(list); ++i) {
    if (TextEquals(list[i], text)) return i + 1;
  }
  return -1;
}
