#pragma once

#include <memory>

#include "dictionary/dictionary_index.h"
#include "engines/translation_engine.h"

namespace parlavo::server {

// Offline translation between Chinese and English with the CC-CEDICT index.
class DictionaryEngine : public TranslationEngine {
 public:
  explicit DictionaryEngine(DictionaryIndex index);
  // An index shared with the word entries (WordEntryEngine).
  explicit DictionaryEngine(std::shared_ptr<const DictionaryIndex> index);

  // Chinese (zh, zh-CN, zh-TW) <-> English (en), Chinese output simplified
  // (a text in Traditional characters is made Simplified before the lookup). English to
  // English, or a text without letters, comes back unchanged. Throws UnsupportedLanguagePair for anything else.
  std::string Translate(const std::string& text, const std::string& source, const std::string& target) override;

 private:
  std::shared_ptr<const DictionaryIndex> m_index;
};

}  // namespace parlavo::server
