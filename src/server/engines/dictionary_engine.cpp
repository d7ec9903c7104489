#include "engines/dictionary_engine.h"

#include "dictionary/chinese_to_english.h"
#include "detection/chinese_variant.h"
#include "detection/language_detector.h"
#include "detection/language_names.h"
#include "dictionary/english_to_chinese.h"
#include "engines/language_codes.h"

namespace parlavo::server {

DictionaryEngine::DictionaryEngine(DictionaryIndex index)
    : DictionaryEngine(std::make_shared<const DictionaryIndex>(std::move(index))) {}

DictionaryEngine::DictionaryEngine(std::shared_ptr<const DictionaryIndex> index) : m_index(std::move(index)) {
  // Chinese texts are checked for Traditional characters: be ready before the first.
  LoadChineseVariants();
}

std::string DictionaryEngine::Translate(const std::string& text, const std::string& source,
                                        const std::string& target) {
  const std::string from = source.empty() ? DetectLanguage(text).language : source;
  const LanguageFamily to = FamilyOf(target);
  if (to == LanguageFamily::Other || IsTraditionalChinese(target)) {
    throw UnsupportedLanguagePair("词典引擎只能译成简体中文（zh）或英文（en），不支持目标语言：" +
                                  LanguageForMessage(target));
  }
  if (from.empty()) return text;
  const LanguageFamily fromFamily = FamilyOf(from);
  if (fromFamily == LanguageFamily::Chinese) {
    // Converting costs about as much as translating: only Traditional texts.
    const bool traditional = IsTraditionalChinese(from) || IsWrittenTraditional(text);
    const std::string simplified = traditional ? ToSimplified(text) : text;
    return to == LanguageFamily::Chinese ? simplified : ChineseToEnglish(*m_index, simplified);
  }
  if (fromFamily == to) return text;
  if (fromFamily == LanguageFamily::English) return EnglishToChinese(*m_index, text);
  throw UnsupportedLanguagePair("词典引擎只能翻译中文和英文，不支持源语言：" + LanguageForMessage(from));
}

}  // namespace parlavo::server
