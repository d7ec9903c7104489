#include <gtest/gtest.h>

#include "dictionary/english_morphology.h"
#include "dictionary/english_to_chinese.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

using testing::IndexOf;

// A mini dictionary: English key -> Chinese word, its tag and classifier.
class EnglishToChineseTest : public ::testing::Test {
 protected:
  static DictionaryTables Tables() {
    DictionaryTables tables;
    tables.english = {
        {"good morning", {"早上好", "l"}}, {"learn", {"学会", "n"}},      {"learn/v", {"学习", "v"}},
        {"chinese", {"中文", "nz"}},       {"computer", {"电脑", "n", 0, "台"}}, {"broken", {"坏", "a"}},
        {"book", {"书", "n", 0, "本"}},    {"buy", {"买", "v"}},          {"coffee", {"咖啡", "n"}},
        {"drink", {"喝", "v"}},            {"park", {"公园", "n"}},       {"run", {"跑步", "v"}},
        {"tomorrow", {"明天", "t"}},       {"rain", {"雨", "n"}},         {"rain/v", {"下雨", "v"}},
        {"hungry", {"饿", "a"}},           {"small", {"小", "a"}},        {"room", {"房间", "n", 0, "间"}},
        {"teacher", {"老师", "n"}},        {"name", {"名字", "n"}},       {"like", {"喜欢", "v"}},
        {"fish", {"鱼", "n", 0, "条"}},    {"child", {"孩子", "n"}},      {"live", {"住", "v"}},
        {"station", {"车站", "n"}},        {"go", {"去", "v"}},           {"school", {"学校", "n"}},
        {"e-mail", {"电子邮件", "n"}},
    };
    return tables;
  }
  std::string Translate(const std::string& text) { return EnglishToChinese(m_index, text); }

  DictionaryIndex m_index = IndexOf(Tables());
};

TEST_F(EnglishToChineseTest, NounPhrases) {
  EXPECT_EQ(Translate("My computer is broken."), "我的电脑很坏。") << "possessive; be + adjective";
  EXPECT_EQ(Translate("He bought a book."), "他买了一本书。") << "the noun's classifier; past";
  EXPECT_EQ(Translate("I have two children"), "我有两个孩子") << "两 before a measure word";
  EXPECT_EQ(Translate("I drink a cup of coffee"), "我喝一杯咖啡");
  EXPECT_EQ(Translate("She is a teacher"), "她是老师") << "no 一 after be";
  EXPECT_EQ(Translate("Good morning, Tom"), "早上好，Tom");
}

TEST_F(EnglishToChineseTest, VerbGroups) {
  EXPECT_EQ(Translate("I am learning Chinese."), "我在学习中文。") << "progressive; the verb reading";
  EXPECT_EQ(Translate("He is running in the park"), "他在公园里跑步") << "place before the verb";
  EXPECT_EQ(Translate("I don't like fish"), "我不喜欢鱼") << "do-support removed";
  EXPECT_EQ(Translate("Please don't drink coffee here"), "请不要在这里喝咖啡") << "a prohibition; here as a place";
  EXPECT_EQ(Translate("I didn't go to school tomorrow"), "我明天没去学校") << "time after the subject";
  EXPECT_EQ(Translate("This room is too small"), "这间房间太小了") << "the noun's classifier";
  EXPECT_EQ(Translate("This room is smaller"), "这间房间更小") << "a comparative";
  EXPECT_EQ(Translate("He is not running"), "他没跑步") << "没 for what is going on";
  EXPECT_EQ(Translate("I live in Tokyo"), "我住在Tokyo") << "a verb of placement keeps its place after it";
}

TEST_F(EnglishToChineseTest, Questions) {
  EXPECT_EQ(Translate("Will it rain tomorrow?"), "明天会下雨吗？") << "yes/no question; 'it' unsaid";
  EXPECT_EQ(Translate("Do you like coffee?"), "你喜欢咖啡吗？");
  EXPECT_EQ(Translate("What is your name?"), "你的名字是什么？");
  EXPECT_EQ(Translate("Where is the station?"), "车站在哪里？");
  EXPECT_EQ(Translate("Where do you live?"), "你住在哪里？");
}

TEST_F(EnglishToChineseTest, KeepsPunctuationUnknownWordsAndLines) {
  EXPECT_EQ(Translate("you? you. you: (you); you"), "你？你。你：（你）；你");
  EXPECT_EQ(Translate("\"book\" and \"Python\""), "“书”和“Python”");
  EXPECT_EQ(Translate("I like Python and Rust"), "我喜欢 Python 和 Rust") << "blanks kept next to kept words";
  EXPECT_EQ(Translate("e-mail"), "电子邮件");
  EXPECT_EQ(Translate("book\nbook"), "书\n书");
  EXPECT_EQ(Translate("你好 you"), "你好你");
  EXPECT_EQ(Translate(""), "");
}

TEST(EnglishMorphologyTest, LooksUpAndInflects) {
  const auto has = [](const std::string& word, const std::string& lemma, Inflection inflection) {
    for (const WordForm& form : LookupForms(word)) {
      if (form.lemma == lemma && form.inflection == inflection) return true;
    }
    return false;
  };
  EXPECT_TRUE(has("cities", "city", Inflection::Plural));
  EXPECT_TRUE(has("stopped", "stop", Inflection::Past));
  EXPECT_TRUE(has("making", "make", Inflection::Progressive));
  EXPECT_TRUE(has("went", "go", Inflection::Past));
  EXPECT_TRUE(has("children", "child", Inflection::Plural));
  EXPECT_FALSE(has("glass", "glas", Inflection::Plural)) << "ss is no plural";
  EXPECT_EQ(InflectVerb("take off", Inflection::Past), "took off");
  EXPECT_EQ(InflectVerb("stop", Inflection::Past), "stopped");
  EXPECT_EQ(InflectVerb("carry", Inflection::ThirdPerson), "carries");
  EXPECT_EQ(InflectVerb("make", Inflection::Progressive), "making");
  EXPECT_EQ(InflectVerb("be", Inflection::ThirdPerson), "is");
  EXPECT_EQ(Plural("cup"), "cups");
  EXPECT_EQ(Plural("train station"), "train stations");
  EXPECT_EQ(Plural("child"), "children");
}

TEST(EnglishToChineseRealTest, TranslatesEverydaySentences) {
  const DictionaryIndex index = DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX);
  EXPECT_EQ(EnglishToChinese(index, "I love you."), "我爱你。");
  EXPECT_EQ(EnglishToChinese(index, "Good night!"), "晚安！");
  EXPECT_EQ(EnglishToChinese(index, "He bought a book."), "他买了一本书。");
}

}  // namespace
}  // namespace parlavo::server
