#include "services/translation_client.h"

#include <cstdio>
#include <utility>
#include <string_view>

#include "net/ansi_code_page.h"
#include "net/text_encoding.h"
#include "services/json_string.h"
#include "text/ascii.h"

namespace parlavo {

namespace {

constexpr std::string_view DETECT_URL = "http://%s/ajax/services/language/detect?v=1.0&q=%s";
constexpr std::string_view TRANSLATE_URL =
    "http://%s/ajax/services/language/translate?v=1.0&q=%s&langpair=%s|%s";

constexpr std::size_t kMaxCodeLength = 12;

// A code goes into the address as it stands, so anything but a plain
// language code (which a hostile reply could use to add query parameters)
// is sent as no code at all.
Text SafeLanguageCode(const Text& code) {
  if (code.empty() || code.size() > kMaxCodeLength) return {};
  for (const char c : code) {
    const bool plain = IsAsciiAlphanumeric(c) || c == '-';
    if (!plain) return {};
  }
  return code;
}

// printf-style %s substitution without printf's limits on length.
Text Format(std::string_view pattern, std::initializer_list<std::string_view> values) {
  Text out;
  auto value = values.begin();
  for (std::size_t pos = 0; pos < pattern.size(); ++pos) {
    if (pattern.compare(pos, 2, "%s") == 0 && value != values.end()) {
      out += *value++;
      ++pos;
    } else {
      out += pattern[pos];
    }
  }
  return out;
}

// The string value of the member `name` ("name":"value", blanks allowed
// around the colon) in an ANSI-code-page body, as UTF-8; empty when there
// is none. A quote inside a string is escaped, so only a real member
// matches the quoted name followed by a colon.
std::string MemberValue(const Text& ansiBody, std::string_view name) {
  const Text key = "\"" + Text(name) + "\"";
  for (std::size_t found = Find(ansiBody, key); found != Text::npos; found = Find(ansiBody, key, found + 1)) {
    std::size_t pos = found + key.size();
    while (pos < ansiBody.size() && ansiBody[pos] == ' ') ++pos;
    if (pos >= ansiBody.size() || ansiBody[pos] != ':') continue;
    ++pos;
    while (pos < ansiBody.size() && ansiBody[pos] == ' ') ++pos;
    if (pos >= ansiBody.size() || ansiBody[pos] != '"') return {};
    std::string value = ReadJsonString(ansiBody, pos + 1).value_or(Text());
    AnsiToUtf8(value);
    return value;
  }
  return {};
}

}  // namespace

void FillLanguageTable(LanguageTable& table) {
  for (const auto& [name, code] : {std::pair{"中文", "zh"}, std::pair{"英文", "en"}}) {
    Text ansiName = name;
    Utf8ToAnsi(ansiName);
    table.push_back({ansiName, code});
  }
}

bool IsInLanguage(const Text& source, const Text& language) {
  if (language.empty() || source.size() < language.size()) return false;
  const bool sameStart = ToLowerAscii(source.substr(0, language.size())) == ToLowerAscii(language);
  return sameStart && (source.size() == language.size() || source[language.size()] == '-');
}

Text LookupLanguageCode(const LanguageTable& table, Text name) {
  for (const LanguageEntry& entry : table) {
    if (entry.name == name) return entry.code;
  }
  return {};
}

void ExtractField(Text& body, Text key) {
  const std::size_t found = Find(body, key);
  // Skips the key's closing quote, the colon and the value's opening quote.
  const std::size_t start = found == Text::npos ? Text::npos : found + key.size() + 3;
  if (start == Text::npos || start > body.size()) {
    body.clear();
    return;
  }
  body = ReadJsonString(body, start).value_or(Text());
}

Text DetectLanguage(Text text, const FetchLimits& limits) {
  const Text url = Format(DETECT_URL, {SERVICE_HOST, UrlEncode(text)});
  Text body = FetchUrlText(url, limits);
  if (body.empty()) return {};
  ExtractField(body, "language");
  return body;
}

Text TranslateText(Text text, Text source, Text target, const FetchLimits& limits) {
  const Text url =
      Format(TRANSLATE_URL, {SERVICE_HOST, UrlEncode(text), SafeLanguageCode(source), SafeLanguageCode(target)});
  return FetchUrlText(url, limits);
}

LanguagePair ResolveLanguagePair(const LanguageTable& table, Text text, Text targetName,
                                 const FetchLimits& limits) {
  LanguagePair pair;
  pair.source = DetectLanguage(text, limits);
  pair.target = LookupLanguageCode(table, targetName);
  // Translating into the text's own language gives the text back: the user
  // wants the other language.
  if (IsInLanguage(pair.source, pair.target)) {
    for (const LanguageEntry& entry : table) {
      if (entry.code != pair.target) {
        pair.target = entry.code;
        break;
      }
    }
  }
  return pair;
}

Translation Translate(const LanguageTable& table, Text text, Text targetName, const FetchLimits& limits) {
  Translation translation;
  const LanguagePair pair = ResolveLanguagePair(table, text, targetName, limits);
  translation.pair = {SafeLanguageCode(pair.source), SafeLanguageCode(pair.target)};
  Text body = TranslateText(text, translation.pair.source, translation.pair.target, limits);
  if (body.empty()) return translation;
  Utf8ToAnsi(body);
  const Text key = "translatedText";
  if (Find(body, key) == Text::npos) {
    const std::string details = MemberValue(body, "responseDetails");
    throw ServiceError("翻译失败：" + (details.empty() ? std::string("服务没有返回译文") : details));
  }
  translation.engine = MemberValue(body, "engine");
  translation.details = MemberValue(body, "responseDetails");
  ExtractField(body, key);
  translation.text = std::move(body);
  return translation;
}

Text TranslateForDisplay(const LanguageTable& table, Text text, Text targetName, const FetchLimits& limits) {
  return Translate(table, std::move(text), std::move(targetName), limits).text;
}

}  // namespace parlavo
