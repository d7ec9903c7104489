// AnsiToUtf8, Utf8ToAnsi and UrlEncode over any bytes, in the locale the
// target is built for.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "net/text_encoding.h"
#include "text/percent_coding.h"
#include "text/utf8.h"

using parlavo::fuzz::IsValidText;
using parlavo::IsValidUtf8;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const parlavo::Text input(reinterpret_cast<const char*>(data), size);

  // The bytes as a Text in the ANSI code page.
  parlavo::Text utf8 = input;
  parlavo::AnsiToUtf8(utf8);
  PARLAVO_FUZZ_CHECK(utf8.empty() == input.empty(), "AnsiToUtf8 turns nothing into nothing and something into something");
  PARLAVO_FUZZ_CHECK(IsValidUtf8(utf8), "AnsiToUtf8 always gives valid UTF-8");
  if (IsValidText(input)) {
    parlavo::Text back = utf8;
    parlavo::Utf8ToAnsi(back);
    PARLAVO_FUZZ_CHECK(back == input, "a valid Text survives AnsiToUtf8 then Utf8ToAnsi unchanged");
  }
  // Three characters per byte that decode to that one byte leave no room
  // for anything but "%xx".
  const parlavo::Text encoded = parlavo::UrlEncode(input);
  PARLAVO_FUZZ_CHECK(encoded.size() == 3 * utf8.size() && parlavo::PercentDecode(encoded) == utf8,
                     "UrlEncode writes every byte of the UTF-8 form as %xx");
  PARLAVO_FUZZ_CHECK(encoded.find_first_of("ABCDEF") == parlavo::Text::npos, "in lowercase hexadecimal");

  // The bytes as a service reply in UTF-8. Not "something into something":
  // transliteration drops lone combining marks the code page lacks.
  parlavo::Text ansi = input;
  parlavo::Utf8ToAnsi(ansi);
  PARLAVO_FUZZ_CHECK(!input.empty() || ansi.empty(), "Utf8ToAnsi leaves an empty Text empty");
  PARLAVO_FUZZ_CHECK(IsValidText(ansi), "Utf8ToAnsi always gives a valid Text");
  if (IsValidUtf8(input) && parlavo::fuzz::CodePageHolds(input)) {
    parlavo::AnsiToUtf8(ansi);
    PARLAVO_FUZZ_CHECK(ansi == input, "text whose characters the code page holds survives Utf8ToAnsi then AnsiToUtf8");
  }
  return 0;
}
