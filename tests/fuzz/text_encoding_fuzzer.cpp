// AnsiToUtf8, Utf8ToAnsi and UrlEncode over any bytes, in the locale the
// target is built for.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "net/text_encoding.h"

namespace {

using parlavo::Text;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void CheckUrlEncode(const Text& text, const std::string& utf8) {
  const Text encoded = parlavo::UrlEncode(text);
  PARLAVO_FUZZ_CHECK(encoded.size() == 3 * utf8.size(), "UrlEncode gives three characters per UTF-8 byte");
  std::string decoded;
  for (std::size_t pos = 0; pos < encoded.size(); pos += 3) {
    PARLAVO_FUZZ_CHECK(encoded[pos] == '%', "every UTF-8 byte is written as a percent sign");
    const int high = HexDigit(encoded[pos + 1]);
    const int low = HexDigit(encoded[pos + 2]);
    PARLAVO_FUZZ_CHECK(high >= 0 && low >= 0, "followed by two lowercase hexadecimal digits");
    decoded += static_cast<char>(high * 16 + low);
  }
  PARLAVO_FUZZ_CHECK(decoded == utf8, "UrlEncode decodes back to the UTF-8 form");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Text input(reinterpret_cast<const char*>(data), size);

  // The bytes as a Text in the ANSI code page.
  Text utf8 = input;
  parlavo::AnsiToUtf8(utf8);
  PARLAVO_FUZZ_CHECK(utf8.empty() == input.empty(), "AnsiToUtf8 turns nothing into nothing and something into something");
  PARLAVO_FUZZ_CHECK(parlavo::fuzz::IsValidUtf8(utf8), "AnsiToUtf8 always gives valid UTF-8");
  if (parlavo::fuzz::IsValidText(input)) {
    Text back = utf8;
    parlavo::Utf8ToAnsi(back);
    PARLAVO_FUZZ_CHECK(back == input, "a valid Text survives AnsiToUtf8 then Utf8ToAnsi unchanged");
  }
  CheckUrlEncode(input, utf8);

  // The bytes as a service reply in UTF-8.
  Text ansi = input;
  parlavo::Utf8ToAnsi(ansi);
  // (Not "something into something": iconv's transliteration drops lone
  // combining marks and zero-width characters that the code page lacks.)
  PARLAVO_FUZZ_CHECK(!input.empty() || ansi.empty(), "Utf8ToAnsi leaves an empty Text empty");
  PARLAVO_FUZZ_CHECK(parlavo::fuzz::IsValidText(ansi), "Utf8ToAnsi always gives a valid Text");
  if (parlavo::fuzz::IsValidUtf8(input) && parlavo::fuzz::CodePageHolds(input)) {
    Text back = ansi;
    parlavo::AnsiToUtf8(back);
    PARLAVO_FUZZ_CHECK(back == input, "text whose characters the code page holds survives Utf8ToAnsi then AnsiToUtf8");
  }
  return 0;
}
