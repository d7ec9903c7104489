#include <gtest/gtest.h>

#include "dictionary/chinese_to_english.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

using testing::IndexOf;

// A mini dictionary: renderings by sense, jieba's tag and frequency, classifier.
class ChineseToEnglishTest : public ::testing::Test {
 protected:
  static DictionaryTables Tables() {
    DictionaryTables tables;
    tables.chinese = {
        {"我", {"I", "r", 5000}},         {"你", {"you", "r", 3000}},        {"他", {"he", "r", 3000}},
        {"的", {"", "uj", 9000}},         {"了", {"", "ul", 9000}},          {"吗", {"", "y", 2000}},
        {"在", {"to exist", "p", 8000}},  {"是", {"to be", "v", 9000}},      {"很", {"very", "zg", 3000}},
        {"不", {"not", "d", 5000}},       {"没", {"", "v", 2000}},           {"会", {"can", "v", 3000}},
        {"叫", {"to shout/to be called", "v", 1000}},                        {"电脑", {"computer", "n", 300, "台"}},
        {"坏", {"broken/to break down", "a", 300}},                          {"书", {"book", "n", 800, "本"}},
        {"本", {"root", "r", 900}},       {"一", {"one", "m", 9000}},        {"两", {"two", "m", 2000}},
        {"杯", {"cup", "q", 200}},        {"咖啡", {"coffee", "n", 100}},    {"喝", {"to drink", "vg", 500}},
        {"买", {"to buy", "v", 600}},     {"公园", {"park", "n", 300}},      {"里", {"inside", "f", 3000}},
        {"跑步", {"to run", "n", 100}},   {"今天", {"today", "t", 900}},     {"明天", {"tomorrow", "t", 300}},
        {"天天", {"every day", "d", 5}},  {"天气", {"weather", "n", 400}},   {"好", {"good/to be fond of", "a", 6000}},
        {"学生", {"student", "n", 800}},  {"去", {"to go", "v", 5000}},      {"北京", {"Beijing", "ns", 900}},
        {"老师", {"teacher", "n", 700}},  {"每天", {"every day", "r", 300}}, {"早上", {"morning", "t", 100}},
        {"今", {"now", "tg", 10}},        {"点", {"to touch", "m", 900}},    {"百分之", {"percent", "i", 50}},
        {"已", {"already", "d", 500}},     {"这里", {"here", "r", 900}},      {"不要", {"don't", "d", 900}},
        {"好吃", {"tasty", "v", 100}},        {"天", {"day", "q", 900}},         {"气", {"gas", "n", 200}},
    };
    tables.totalFrequency = 150000;
    return tables;
  }
  std::string Translate(const std::string& text) { return ChineseToEnglish(m_index, text); }

  DictionaryIndex m_index = IndexOf(Tables());
};

TEST_F(ChineseToEnglishTest, SegmentsByFrequencyAndTakesTheSenseOfTheWordClass) {
  EXPECT_EQ(Translate("今天天气很好。"), "The weather is very good today.") << "今天/天气, not 今/天天/气";
  EXPECT_EQ(Translate("我叫王"), "I am called 王") << "叫 before a name";
  EXPECT_EQ(Translate("他跑步"), "He runs") << "a 'noun' with only verb senses is a verb";
}

TEST_F(ChineseToEnglishTest, NounPhrases) {
  EXPECT_EQ(Translate("我的电脑坏了。"), "My computer is broken.") << "pronoun + 的, adjective predicate";
  EXPECT_EQ(Translate("咖啡很好吃"), "The coffee is very tasty") << "很 + a describing 'verb'";
  EXPECT_EQ(Translate("老师的书"), "The teacher's book");
  EXPECT_EQ(Translate("他买了一本书。"), "He bought a book.") << "the noun's own classifier";
  EXPECT_EQ(Translate("我喝两杯咖啡"), "I drink two cups of coffee") << "a container measure";
}

TEST_F(ChineseToEnglishTest, VerbGroups) {
  EXPECT_EQ(Translate("他在喝咖啡"), "He is drinking coffee") << "在 + verb";
  EXPECT_EQ(Translate("他在公园里跑步"), "He runs in the park") << "在 + place goes after the verb";
  EXPECT_EQ(Translate("我不喝咖啡"), "I do not drink coffee");
  EXPECT_EQ(Translate("不要在这里喝咖啡"), "Do not drink coffee here") << "a prohibition";
  EXPECT_EQ(Translate("他没去北京"), "He did not go to Beijing");
  EXPECT_EQ(Translate("王是老师"), "王 is a teacher") << "unknown characters are kept";
  EXPECT_EQ(Translate("我每天早上喝咖啡"), "I drink coffee every morning") << "time words go last";
  EXPECT_EQ(Translate("我明天早上九点喝咖啡"), "I drink coffee at nine o'clock tomorrow in the morning");
  EXPECT_EQ(Translate("百分之五"), "Five percent");
  EXPECT_EQ(Translate("书已买"), "The book has been bought") << "a thing undergoes the act";
  EXPECT_EQ(Translate("他已买书"), "He has already bought book");
}

TEST_F(ChineseToEnglishTest, QuestionsWithMa) {
  EXPECT_EQ(Translate("你是学生吗？"), "Are you a student?");
  EXPECT_EQ(Translate("他喝咖啡吗？"), "Does he drink coffee?");
  EXPECT_EQ(Translate("你会喝咖啡吗？"), "Can you drink coffee?");
  EXPECT_EQ(Translate("他明天会去北京吗？"), "Will he go to Beijing tomorrow?") << "会 about the future";
}

TEST_F(ChineseToEnglishTest, PunctuationSpacingAndLines) {
  EXPECT_EQ(Translate("你好，世界！"), "You are good, 世界!") << "unknown characters stay together";
  EXPECT_EQ(Translate("“书”（书）"), "\"Book\" (book)");
  EXPECT_EQ(Translate("书\r\n\n天气　书"), "Book\n\nWeather book");
  EXPECT_EQ(Translate("我的iPhone 12坏了"), "My iPhone 12 is broken");
  EXPECT_EQ(Translate("ＡＢＣ１２３"), "ABC123") << "full-width letters and digits in ASCII";
  EXPECT_EQ(Translate(""), "");
  EXPECT_EQ(Translate("   "), "");
}

TEST(ChineseToEnglishRealTest, TranslatesEverydaySentences) {
  const DictionaryIndex index = DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX);
  EXPECT_EQ(ChineseToEnglish(index, "我爱你。"), "I love you.");
  EXPECT_EQ(ChineseToEnglish(index, "我愛你。"), "I love you.") << "traditional characters";
  EXPECT_EQ(ChineseToEnglish(index, "他买了一本书。"), "He bought a book.");
}

}  // namespace
}  // namespace parlavo::server
