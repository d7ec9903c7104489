#include "engines/word_entry_engine.h"

#include "dictionary/word_entry.h"
#include "engines/language_codes.h"

namespace parlavo::server {

WordEntryEngine::WordEntryEngine(std::shared_ptr<const DictionaryIndex> index, std::unique_ptr<TranslationEngine> next)
    : m_index(std::move(index)), m_next(std::move(next)) {}

std::string WordEntryEngine::Translate(const std::string& text, const std::string& source, const std::string& target) {
  return Answer(text, source, target).text;
}

Translation WordEntryEngine::Answer(const std::string& text, const std::string& source, const std::string& target) {
  const LanguageFamily from = FamilyOf(source);
  const LanguageFamily to = FamilyOf(target);
  std::optional<std::string> entry;
  // Entries are in English and Simplified Chinese.
  if (to == LanguageFamily::English && (source.empty() || from == LanguageFamily::Chinese)) {
    entry = ChineseWordEntry(*m_index, text);
  } else if (to == LanguageFamily::Chinese && !IsTraditionalChinese(target) &&
             (source.empty() || from == LanguageFamily::English)) {
    entry = EnglishWordEntry(*m_index, text);
  }
  if (entry) return {std::move(*entry), kEngineName, {}};
  return m_next->Answer(text, source, target);
}

}  // namespace parlavo::server
