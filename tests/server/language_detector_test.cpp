#include <gtest/gtest.h>

#include "detection/language_detector.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

TEST(LanguageDetectorTest, TellsSimplifiedFromTraditionalByTheCharacters) {
  for (const char* text : {"你好，世界", "我们", "这是一个测试", "你好", "好", "人口", "我的电脑坏了。"}) {
    EXPECT_EQ(DetectLanguage(text).language, "zh-CN") << text;
  }
  for (const char* text : {"這是一個測試", "說話", "這個問題很難回答，請你幫我", "你們好"}) {
    EXPECT_EQ(DetectLanguage(text).language, "zh-TW") << text;
  }
  EXPECT_EQ(DetectLanguage(std::string("說話\0x", 5)).language, "zh-TW") << "a NUL does not end the text";
}

TEST(LanguageDetectorTest, TheDictionaryReadsTraditionalAndWritesSimplified) {
  DictionaryEngine& dictionary = testing::RealDictionaryEngine();
  EXPECT_EQ(dictionary.Translate("這是一個測試", "", "en"), dictionary.Translate("这是一个测试", "", "en"));
  EXPECT_EQ(dictionary.Translate("我的電腦壞了。", "zh", "en"), dictionary.Translate("我的电脑坏了。", "zh", "en"));
  EXPECT_EQ(dictionary.Translate("說話", "zh-TW", "zh-CN"), "说话");
}

TEST(LanguageDetectorTest, OtherLanguagesAndShortTexts) {
  EXPECT_EQ(DetectLanguage("How are you today? The weather is lovely.").language, "en");
  EXPECT_EQ(DetectLanguage("こんにちは、元気ですか").language, "ja");
  for (const auto& [text, language] : std::vector<std::pair<std::string, std::string>>{
           {"hi", "en"}, {"Привет", "ru"}, {"你好 hi 世界", "zh-CN"}}) {
    const Detection detection = DetectLanguage(text);
    EXPECT_EQ(detection.language, language) << text;
    EXPECT_FALSE(detection.reliable) << text;
  }
  for (const char* text : {"", "12345", "!?，。", "😀"}) EXPECT_EQ(DetectLanguage(text).language, "") << text;
}

}  // namespace
}  // namespace parlavo::server
