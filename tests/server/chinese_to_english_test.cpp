#include <gtest/gtest.h>

#include "dictionary/chinese_to_english.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

using testing::IndexOf;

class ChineseToEnglishTest : public ::testing::Test {
 protected:
  static DictionaryTables Tables() {
    DictionaryTables tables;
    tables.chinese = {{"你好", "hello"}, {"你", "you"},     {"好", "good"},      {"世界", "world"},
                      {"今天", "today"}, {"天气", "weather"}, {"今", "now"},      {"天", "day"},
                      {"很", "very"},    {"了", ""},          {"吗", ""},         {"中华人民共和国", "PRC"},
                      {"中", "middle"},  {"早上好", "Good morning"}, {"不", "not"}, {"不知", "not know"},
                      {"知道", "know"}, {"道", "road"}, {"我", "I"}};
    return tables;
  }
  std::string Translate(const std::string& text) { return ChineseToEnglish(m_index, text); }

  DictionaryIndex m_index = IndexOf(Tables());
};

TEST_F(ChineseToEnglishTest, SegmentsByLongestMatch) {
  EXPECT_EQ(Translate("你好"), "Hello");
  EXPECT_EQ(Translate("今天天气很好"), "Today weather very good") << "今天 天气, not 今 天天 气";
  EXPECT_EQ(Translate("中华人民共和国"), "PRC");
  EXPECT_EQ(Translate("中华"), "Middle 华") << "the longest word needs all its characters";
  EXPECT_EQ(Translate("我不知道"), "I not know") << "from the back: 我/不/知道, not 我/不知/道";
}

TEST_F(ChineseToEnglishTest, GrammaticalWordsDisappear) {
  EXPECT_EQ(Translate("你好吗"), "Hello");
  EXPECT_EQ(Translate("好了"), "Good");
  EXPECT_EQ(Translate("了"), "");
}

TEST_F(ChineseToEnglishTest, MapsFullWidthPunctuationWithEnglishSpacing) {
  EXPECT_EQ(Translate("你好，世界！"), "Hello, world!");
  EXPECT_EQ(Translate("你好。世界？今天：很好；"), "Hello. World? Today: very good;");
  EXPECT_EQ(Translate("你“世界”（你）"), "You \"world\" (you)");
  EXPECT_EQ(Translate("“世界”"), "\"World\"") << "a sentence may start with a quote";
  EXPECT_EQ(Translate("世界、你"), "World, you");
  EXPECT_EQ(Translate("你好……"), "Hello......");
  EXPECT_EQ(Translate("早上好！你好"), "Good morning! Hello");
}

TEST_F(ChineseToEnglishTest, KeepsWhatTheDictionaryLacks) {
  EXPECT_EQ(Translate("你好鑫鑫世界"), "Hello 鑫鑫 world") << "unknown characters stay together";
  EXPECT_EQ(Translate("你好iPhone 12世界"), "Hello iPhone 12 world");
  EXPECT_EQ(Translate("ＡＢＣ１２３你好"), "ABC123 hello") << "full-width letters and digits in ASCII";
  EXPECT_EQ(Translate("你好😀"), "Hello 😀");
  EXPECT_EQ(Translate("你好,世界"), "Hello, world") << "ASCII punctuation";
}

TEST_F(ChineseToEnglishTest, KeepsLineBreaksAndCapitalisesEachLine) {
  EXPECT_EQ(Translate("你好\n世界"), "Hello\nWorld");
  EXPECT_EQ(Translate("你好\r\n\n世界　你"), "Hello\n\nWorld you");
  EXPECT_EQ(Translate(""), "");
  EXPECT_EQ(Translate("   "), "");
}

TEST(ChineseToEnglishRealTest, TranslatesEverydayWords) {
  const DictionaryIndex index = DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX);
  EXPECT_EQ(ChineseToEnglish(index, "你好"), "Hello");
  EXPECT_EQ(ChineseToEnglish(index, "我爱你。"), "I love you.");
  EXPECT_EQ(ChineseToEnglish(index, "我愛你。"), "I love you.") << "traditional characters";
}

}  // namespace
}  // namespace parlavo::server
