#include "detection/chinese_variant.h"

#include <opencc/Exception.hpp>
#include <opencc/SimpleConverter.hpp>

#include <algorithm>
#include <stdexcept>

#include "text/utf8.h"

namespace parlavo::server {

namespace {

constexpr std::size_t kSampleBytes = 16 * 1024;

// Loaded once from OpenCC's data files; converting is read-only and
// safe from many threads. OpenCC's exceptions are not std::exceptions.
opencc::SimpleConverter Load(const char* config) {
  try {
    return opencc::SimpleConverter(config);
  } catch (const opencc::Exception& error) {
    throw std::runtime_error(std::string("无法加载 OpenCC 的繁简转换数据（") + config + "）：" + error.what());
  }
}

const opencc::SimpleConverter& TraditionalToSimplified() {
  static const opencc::SimpleConverter converter = Load("t2s.json");
  return converter;
}

const opencc::SimpleConverter& SimplifiedToTraditional() {
  static const opencc::SimpleConverter converter = Load("s2t.json");
  return converter;
}

// Loaded on the first zh-TW translation that needs it.
const opencc::SimpleConverter& SimplifiedToTaiwan() {
  static const opencc::SimpleConverter converter = Load("s2twp.json");
  return converter;
}

// OpenCC stops at a NUL character; the text may hold some.
std::string Convert(const opencc::SimpleConverter& converter, std::string_view text) {
  std::string converted;
  while (true) {
    const auto nul = text.find('\0');
    const std::string_view part = text.substr(0, nul);
    if (!part.empty()) converted += converter.Convert(part.data(), part.size());
    if (nul == std::string_view::npos) return converted;
    converted += '\0';
    text.remove_prefix(nul + 1);
  }
}

std::size_t ChangedCharacters(std::string_view original, std::string_view converted) {
  std::size_t changed = 0, a = 0, b = 0;
  while (a < original.size() && b < converted.size()) {
    if (NextCodePoint(original, a) != NextCodePoint(converted, b)) ++changed;
  }
  return changed + CountCodePoints(original.substr(a)) + CountCodePoints(converted.substr(b));
}

}  // namespace

std::string ToSimplified(std::string_view utf8) {
  return Convert(TraditionalToSimplified(), utf8);
}

std::string ToTraditional(std::string_view utf8) { return Convert(SimplifiedToTaiwan(), utf8); }

bool IsWrittenTraditional(std::string_view utf8) {
  std::size_t end = std::min(utf8.size(), kSampleBytes);
  while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
  const std::string_view sample = utf8.substr(0, end);
  const std::string simplified = Convert(TraditionalToSimplified(), sample);
  const std::string traditional = Convert(SimplifiedToTraditional(), sample);
  return ChangedCharacters(sample, simplified) > ChangedCharacters(sample, traditional);
}

void LoadChineseVariants() {
  TraditionalToSimplified();
  SimplifiedToTraditional();
}

}  // namespace parlavo::server
