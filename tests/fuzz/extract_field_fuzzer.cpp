// ExtractField over any body and key, in the locale the target is built for.
#include <fuzzer/FuzzedDataProvider.h>

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "net/ansi_code_page.h"
#include "net/text_encoding.h"
#include "services/translation_client.h"

namespace {

using parlavo::Text;
constexpr std::size_t npos = std::string_view::npos;

bool IsAscii(std::string_view bytes) {
  for (const char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The value's raw text up to its unescaped closing quote, read the JSON way
// (a backslash always takes the next byte with it); npos when unterminated.
std::size_t JsonStringEnd(std::string_view rest) {
  for (std::size_t pos = 0; pos < rest.size(); ++pos) {
    if (rest[pos] == '"') return pos;
    if (rest[pos] == '\\') ++pos;
  }
  return npos;
}

// What a real JSON parser makes of the value, as the ANSI code page has it;
// false when the parser rejects the value (broken escapes, raw control
// characters, invalid UTF-8) or when its raw bytes could not be compared
// outside UTF-8.
bool DecodeWithJsonParser(std::string_view raw, Text& decoded) {
  const bool utf8Locale = parlavo::AnsiCharset() == "UTF-8";
  if (!utf8Locale && !IsAscii(raw)) return false;
  std::string quoted;
  quoted.reserve(raw.size() + 2);
  quoted += '"';
  quoted += raw;
  quoted += '"';
  const nlohmann::json parsed = nlohmann::json::parse(quoted, nullptr, false);
  if (!parsed.is_string()) return false;
  decoded = parsed.get<std::string>();
  if (!utf8Locale) parlavo::Utf8ToAnsi(decoded);
  return true;
}

// iconv's transliteration may spell a character that the code page lacks
// with more bytes than its \u escape has (in zh_CN.GBK the longest, U+3316,
// becomes 12 bytes), so each such escape may add that much to the value.
std::size_t TransliterationAllowance(std::string_view rest) {
  constexpr std::size_t kLongestTransliteration = 16;
  if (parlavo::AnsiCharset() == "UTF-8") return 0;
  std::size_t allowance = 0;
  for (std::size_t pos = rest.find("\\u"); pos != npos; pos = rest.find("\\u", pos + 1)) {
    const std::string_view digits = rest.substr(pos + 2, 4);
    if (digits.size() < 4 || digits.find_first_not_of("0123456789abcdefABCDEF") != npos) continue;
    char32_t c = std::stoul(std::string(digits), nullptr, 16);
    // A surrogate pair is one character beyond the code page's reach.
    if (c >= 0xD800 && c <= 0xDFFF) {
      allowance += kLongestTransliteration;
      continue;
    }
    std::string utf8;
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
    if (!parlavo::fuzz::CodePageHolds(utf8)) allowance += kLongestTransliteration;
  }
  return allowance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const Text key = input.ConsumeRandomLengthString(64);
  const Text original = input.ConsumeRemainingBytesAsString();

  Text value = original;
  parlavo::ExtractField(value, key);

  const std::size_t found = parlavo::Find(original, key);
  if (found == npos) {
    PARLAVO_FUZZ_CHECK(value.empty(), "a body without the key gives an empty value");
    return 0;
  }
  const std::size_t afterKey = original.size() - found - key.size();
  PARLAVO_FUZZ_CHECK(value.size() <= afterKey + TransliterationAllowance(std::string_view(original).substr(found)),
                     "the value is never longer than what the body held after the key");

  // The plain cut: skip the key's closing quote, the colon and the opening
  // quote, then take everything up to the next quote.
  const std::size_t start = found + key.size() + 3;
  const std::string_view rest = start <= original.size() ? std::string_view(original).substr(start) : "";
  const std::size_t quote = rest.find('"');
  if (quote == npos) {
    PARLAVO_FUZZ_CHECK(value.empty(), "a value without closing quote gives an empty value");
    return 0;
  }
  const std::string_view plainCut = rest.substr(0, quote);
  if (plainCut.find('\\') == npos) {
    PARLAVO_FUZZ_CHECK(value == plainCut, "a value without backslashes is the plain cut");
    return 0;
  }

  const std::size_t end = JsonStringEnd(rest);
  Text decoded;
  if (end != npos && DecodeWithJsonParser(rest.substr(0, end), decoded))
    PARLAVO_FUZZ_CHECK(value == decoded, "escapes decode as a JSON parser decodes them");
  return 0;
}
