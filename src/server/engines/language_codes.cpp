#include "engines/language_codes.h"

#include <cctype>

namespace parlavo::server {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

LanguageFamily FamilyOf(std::string_view code) {
  const std::string lower = Lower(code);
  if (lower == "zh" || lower == "zh-cn" || lower == "zh-tw") return LanguageFamily::Chinese;
  if (lower == "en") return LanguageFamily::English;
  return LanguageFamily::Other;
}

bool IsPlainLanguageCode(std::string_view code) {
  if (code.empty() || code.size() > 12) return false;
  for (char c : code) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') return false;
  }
  return true;
}

}  // namespace parlavo::server
