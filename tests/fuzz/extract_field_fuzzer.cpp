// ExtractField over any body and key, in the locale the target is built for.
#include <fuzzer/FuzzedDataProvider.h>

#include <nlohmann/json.hpp>

#include <optional>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "net/ansi_code_page.h"
#include "net/text_encoding.h"
#include "services/translation_client.h"

namespace {

using parlavo::Text;
constexpr std::size_t npos = std::string_view::npos;

// The value's raw text up to its unescaped closing quote, read the JSON way
// (a backslash always takes the next byte with it); npos when unterminated.
std::size_t JsonStringEnd(std::string_view rest) {
  for (std::size_t pos = 0; pos < rest.size(); ++pos) {
    if (rest[pos] == '"') return pos;
    if (rest[pos] == '\\') ++pos;
  }
  return npos;
}

// What a real JSON parser makes of the value, in the ANSI code page; false
// when the parser rejects it or the raw bytes are not valid in the code page.
bool DecodeWithJsonParser(std::string_view raw, Text& decoded) {
  const bool utf8 = parlavo::fuzz::IsUtf8Locale();
  const std::optional<Text> rawUtf8 = utf8 ? Text(raw) : parlavo::fuzz::ConvertExactly(raw, parlavo::AnsiCharset(), "UTF-8");
  if (!rawUtf8) return false;
  const nlohmann::json parsed = nlohmann::json::parse("\"" + *rawUtf8 + "\"", nullptr, false);
  if (!parsed.is_string()) return false;
  decoded = parsed.get<Text>();
  if (!utf8) parlavo::Utf8ToAnsi(decoded);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const Text key = input.ConsumeRandomLengthString(64);
  const Text body = input.ConsumeRemainingBytesAsString();
  Text value = body;
  parlavo::ExtractField(value, key);

  // The plain cut: past the key, its closing quote, the colon and the
  // opening quote, everything up to the next quote.
  const std::size_t found = parlavo::Find(body, key);
  const std::size_t start = found == npos ? npos : found + key.size() + 3;
  const std::string_view rest = start <= body.size() ? std::string_view(body).substr(start) : "";
  const std::size_t quote = rest.find('"');
  if (start > body.size() || quote == npos) {
    PARLAVO_FUZZ_CHECK(value.empty(), "without the key or a closing quote there is no value");
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
