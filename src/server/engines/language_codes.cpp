#include "engines/language_codes.h"

namespace parlavo::server {

LanguageFamily FamilyOf(std::string_view code) {
  const std::string lower = ToLowerAscii(code);
  if (lower == "zh" || lower == "zh-cn" || lower == "zh-tw") return LanguageFamily::Chinese;
  if (lower == "en") return LanguageFamily::English;
  return LanguageFamily::Other;
}

bool IsTraditionalChinese(std::string_view code) { return ToLowerAscii(code) == "zh-tw"; }

bool IsPlainLanguageCode(std::string_view code) {
  if (code.empty() || code.size() > 12) return false;
  for (char c : code) {
    if (!IsAsciiAlphanumeric(c) && c != '-') return false;
  }
  return true;
}

}  // namespace parlavo::server
