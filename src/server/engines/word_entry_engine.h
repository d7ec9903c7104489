#pragma once

#include <memory>

#include "dictionary/dictionary_index.h"
#include "engines/translation_engine.h"

namespace parlavo::server {

// The step before the engines: a text that is one word or fixed term the
// offline dictionary knows (a Chinese headword into English, an English word
// or multi-word entry into Chinese) is answered with its dictionary entry at
// once, whatever engines follow, so a word never waits on the network. Every
// other request goes to `next` as it came.
class WordEntryEngine : public TranslationEngine {
 public:
  static constexpr const char* kEngineName = "dictionary";

  WordEntryEngine(std::shared_ptr<const DictionaryIndex> index, std::unique_ptr<TranslationEngine> next);

  std::string Translate(const std::string& text, const std::string& source, const std::string& target) override;
  Translation Answer(const std::string& text, const std::string& source, const std::string& target) override;

 private:
  std::shared_ptr<const DictionaryIndex> m_index;
  std::unique_ptr<TranslationEngine> m_next;
};

}  // namespace parlavo::server
