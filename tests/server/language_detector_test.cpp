#include <gtest/gtest.h>

#include "detection/language_detector.h"

namespace parlavo::server {
namespace {

TEST(LanguageDetectorTest, RecognisesSentences) {
  const Detection english = DetectLanguage("How are you today? The weather is lovely.");
  EXPECT_EQ(english.language, "en");
  EXPECT_TRUE(english.reliable);
  EXPECT_GT(english.confidence, 0.5);
  EXPECT_LE(english.confidence, 1.0);

  EXPECT_EQ(DetectLanguage("这个问题很难回答，请你帮助我理解一下").language, "zh-CN");
  EXPECT_EQ(DetectLanguage("這個問題很難回答，請你幫我").language, "zh-TW");
  EXPECT_EQ(DetectLanguage("Bonjour tout le monde, comment allez-vous").language, "fr");
  EXPECT_EQ(DetectLanguage("こんにちは、元気ですか").language, "ja");
}

TEST(LanguageDetectorTest, ShortTextFallsBackToItsScript) {
  for (const auto& [text, language] : std::vector<std::pair<std::string, std::string>>{
           {"hi", "en"}, {"hello", "en"}, {"你好", "zh-CN"}, {"好", "zh-CN"}, {"Привет", "ru"},
           {"你好 hi 世界", "zh-CN"}}) {
    const Detection detection = DetectLanguage(text);
    EXPECT_EQ(detection.language, language) << text;
    EXPECT_FALSE(detection.reliable) << text;
    EXPECT_GT(detection.confidence, 0.0) << text;
  }
  EXPECT_DOUBLE_EQ(DetectLanguage("ab 你好").confidence, 0.5) << "share of the letters in that script";
}

TEST(LanguageDetectorTest, TextWithoutLettersHasNoLanguage) {
  for (const char* text : {"", "12345", "!?，。", "😀"}) {
    const Detection detection = DetectLanguage(text);
    EXPECT_EQ(detection.language, "") << text;
    EXPECT_FALSE(detection.reliable);
    EXPECT_EQ(detection.confidence, 0.0);
  }
}

}  // namespace
}  // namespace parlavo::server
