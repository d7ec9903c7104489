#include "detection/language_detector.h"

#include <cstdio>  // compact_lang_det.h uses FILE without including it
#include <cld2/public/compact_lang_det.h>
#include <cld2/public/encodings.h>

#include <array>
#include <climits>

#include "detection/chinese_variant.h"
#include "text/unicode_script.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

std::string CodeOf(CLD2::Language language) {
  if (language == CLD2::CHINESE) return "zh-CN";
  if (language == CLD2::CHINESE_T) return "zh-TW";
  return CLD2::LanguageCode(language);
}

Detection ByCld2(std::string_view text) {
  if (text.size() > INT_MAX) return {};
  CLD2::CLDHints hints{nullptr, nullptr, CLD2::UNKNOWN_ENCODING, CLD2::UNKNOWN_LANGUAGE};
  CLD2::Language languages[3];
  int percents[3] = {};
  double scores[3] = {};
  int textBytes = 0;
  bool reliable = false;
  int validPrefix = 0;
  const CLD2::Language language = CLD2::ExtDetectLanguageSummaryCheckUTF8(
      text.data(), static_cast<int>(text.size()), true, &hints, 0, languages, percents, scores, nullptr,
      &textBytes, &reliable, &validPrefix);
  if (language == CLD2::UNKNOWN_LANGUAGE || language == CLD2::TG_UNKNOWN_LANGUAGE) return {};
  return {CodeOf(language), reliable, percents[0] / 100.0};
}

const char* CodeOfScript(Script script, bool withKana) {
  switch (script) {
    case Script::Han: return withKana ? "ja" : "zh-CN";
    case Script::Kana: return "ja";
    case Script::Latin: return "en";
    case Script::Hangul: return "ko";
    case Script::Cyrillic: return "ru";
    case Script::Greek: return "el";
    case Script::Arabic: return "ar";
    case Script::Hebrew: return "iw";
    case Script::Thai: return "th";
    case Script::None: break;
  }
  return "";
}

Detection ByScript(std::string_view text) {
  std::array<std::size_t, static_cast<std::size_t>(Script::Thai) + 1> counts{};
  std::size_t letters = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const Script script = ScriptOf(NextCodePoint(text, pos));
    if (script == Script::None) continue;
    ++counts[static_cast<std::size_t>(script)];
    ++letters;
  }
  if (letters == 0) return {};
  std::size_t best = 1;
  for (std::size_t i = 2; i < counts.size(); ++i) {
    if (counts[i] > counts[best]) best = i;
  }
  const bool withKana = counts[static_cast<std::size_t>(Script::Kana)] > 0;
  return {CodeOfScript(static_cast<Script>(best), withKana), false,
          static_cast<double>(counts[best]) / static_cast<double>(letters)};
}

}  // namespace

Detection DetectLanguage(std::string_view utf8) {
  Detection detection = ByCld2(utf8);
  if (detection.language.empty()) detection = ByScript(utf8);
  // CLD2 tells the two scripts apart by statistics and gets short texts
  // wrong; OpenCC knows which characters differ.
  if (detection.language == "zh-CN" || detection.language == "zh-TW") {
    detection.language = IsWrittenTraditional(utf8) ? "zh-TW" : "zh-CN";
  }
  return detection;
}

}  // namespace parlavo::server
