#include <gtest/gtest.h>

#include "engines/translation_engine.h"
#include "service_fixture.h"

// What the dictionary engine says when it cannot translate: the language by
// its Chinese name, with the code as the request gave it.
namespace parlavo::server {
namespace {

TEST(LanguageNames, TheDictionaryEngineNamesTheLanguageItCannotTranslate) {
  const char* const swahili = "Habari za asubuhi rafiki yangu, ninafurahi sana kukuona tena leo hapa nyumbani kwetu.";
  const struct {
    const char* text;
    const char* source;
    const char* target;
    const char* message;
  } cases[] = {
      {"habari", "sw", "zh", "词典引擎只能翻译中文和英文，不支持源语言：斯瓦希里语（sw）"},
      {swahili, "", "en", "词典引擎只能翻译中文和英文，不支持源语言：斯瓦希里语（sw）"},  // detected
      {"shalom", "iw", "en", "词典引擎只能翻译中文和英文，不支持源语言：希伯来语（iw）"},      // CLD2's old code
      {"shalom", "HE", "en", "词典引擎只能翻译中文和英文，不支持源语言：希伯来语（HE）"},
      {"ni sa", "haw", "zh", "词典引擎只能翻译中文和英文，不支持源语言：夏威夷语（haw）"},
      {"qo", "tlh", "zh", "词典引擎只能翻译中文和英文，不支持源语言：克林贡语（tlh）"},
      {"abc", "xq", "zh", "词典引擎只能翻译中文和英文，不支持源语言：xq"},  // no name known
      {"hello", "en", "fr", "词典引擎只能译成简体中文（zh）或英文（en），不支持目标语言：法语（fr）"},
      {"hello", "en", "zh-TW", "词典引擎只能译成简体中文（zh）或英文（en），不支持目标语言：繁体中文（zh-TW）"},
      {"hello", "en", "a", "词典引擎只能译成简体中文（zh）或英文（en），不支持目标语言：a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.source) + "|" + c.target);
    try {
      testing::RealDictionaryEngine().Translate(c.text, c.source, c.target);
      ADD_FAILURE() << "translated";
    } catch (const UnsupportedLanguagePair& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace parlavo::server
