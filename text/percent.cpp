#include "text/percent.h"

#include "platform/codepage.h"
#include "text/primitives.h"

namespace {

const Text kHexDigits("0123456789ABCDEF");

int DigitValue(const Text& digit) { return FindText(kHexDigits, ToUpperText(digit), 1, false) - 1; }

}  // namespace

Text PercentDecode(const Text& text, bool fromUtf8) {
  const int len = TextLength(text);
  std::string out;
  for (int i = 1; i <= len; ++i) {
    const Text byte = TextMid(text, i, 1);
    if (!TextEquals(byte, "%")) {
      out.append(byte.view());
      continue;
    }
    const int high = DigitValue(TextMid(text, i + 1, 1));
    const int low = DigitValue(TextMid(text, i + 2, 1));
    out.append(CharFromCode(16 * high + low).view());
    i += 2;
  }
  Text result(out);
  return fromUtf8 ? Utf8ToAnsi(result) : result;
}

Text Utf8ToAnsi(const Text& text) { return WideToText(TextToWide(text, 65001), 936); }

Bytes TextToWide(const Text& text, int codePage) {
  const unsigned page = static_cast<unsigned>(codePage);
  const int n = platform::MultiByteToWideChar(page, 0, text.c_str(), -1, nullptr, 0);
  Bytes buffer = BlankBytes(2 * n);
  platform::MultiByteToWideChar(page, 0, text.c_str(), -1,
                                reinterpret_cast<char16_t*>(buffer.data()), n);
  return buffer;
}

Text WideToText(const Bytes& wide, int codePage) {
  // The platform reads up to the first zero unit; a buffer that lacks one is
  // read from a copy that has it, never past its end.
  Bytes terminated;
  const Bytes* units = &wide;
  bool hasZero = false;
  for (int i = 0; i + 1 < wide.size(); i += 2) {
    if (wide.data()[i] == 0 && wide.data()[i + 1] == 0) {
      hasZero = true;
      break;
    }
  }
  if (!hasZero) {
    terminated = ConcatBytes({BytesLeft(wide, wide.size() & ~1), BlankBytes(2)});
    units = &terminated;
  }
  const auto* data = reinterpret_cast<const char16_t*>(units->data());
  const int n = platform::WideCharToMultiByte(0, 0, data, -1, nullptr, 0, nullptr, nullptr);
  Text area = BlankText(2 * n);
  std::string out(area.view());
  platform::WideCharToMultiByte(static_cast<unsigned>(codePage), 0, data, -1, out.data(), 2 * n,
                                nullptr, nullptr);
  return Text(out);  // up to the first zero byte written
}
