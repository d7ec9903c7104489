#include "services/translation_status.h"

#include <string_view>

#include "net/text_encoding.h"

namespace parlavo {

namespace {

std::string EngineName(const std::string& engine) {
  static constexpr std::pair<std::string_view, std::string_view> NAMES[] = {
      {"microsoft", "微软翻译"},           {"transmart", "腾讯交互翻译"}, {"google", "Google 翻译"},
      {"libretranslate", "LibreTranslate"}, {"dictionary", "离线词典"},
  };
  for (const auto& [code, name] : NAMES)
    if (engine == code) return std::string(name);
  return engine;
}

// The list's name of the language `code` is in, else the code itself.
std::string LanguageName(const LanguageTable& table, const Text& code) {
  for (const LanguageEntry& entry : table) {
    if (IsInLanguage(code, entry.code)) {
      Text name = entry.name;
      AnsiToUtf8(name);
      return name;
    }
  }
  return code.empty() ? std::string("未知语言") : code;
}

// Older services explain at length, "无法连接 X（host）：upstream's words，已改用
// Y": the line keeps what failed and leaves out the rest.
std::string ShortReason(std::string details) {
  for (const char* tail : {"，已改用", "："}) {
    const std::size_t start = details.find(tail);
    if (start != std::string::npos) details.erase(start);
  }
  return details;
}

}  // namespace

std::string DescribeTranslation(const LanguageTable& table, const Translation& translation) {
  const std::string direction =
      LanguageName(table, translation.pair.source) + " → " + LanguageName(table, translation.pair.target);
  if (translation.engine.empty()) return direction;
  std::string line = EngineName(translation.engine);
  const std::string reason = ShortReason(translation.details);
  if (!reason.empty()) line += "（" + reason + "）";
  return line + "：" + direction;
}

}  // namespace parlavo
