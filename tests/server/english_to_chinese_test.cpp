#include <gtest/gtest.h>

#include "dictionary/english_lemmas.h"
#include "dictionary/english_to_chinese.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

using testing::IndexOf;

class EnglishToChineseTest : public ::testing::Test {
 protected:
  static DictionaryTables Tables() {
    DictionaryTables tables;
    tables.english = {{"good", "好"},        {"morning", "早上"}, {"good morning", "早上好"}, {"i", "我"},
                      {"love", "爱"},        {"you", "你"},       {"city", "城市"},         {"box", "盒子"},
                      {"stop", "停"},        {"make", "做"},      {"run", "跑"},            {"be", "是"},
                      {"mother", "母亲"},    {"book", "书"},      {"thank you", "谢谢"},    {"thank", "感谢"},
                      {"e-mail", "电子邮件"}, {"don't", "不要"},  {"try", "试"},            {"walk", "走"},
                      {"it", "它"}};
    return tables;
  }
  std::string Translate(const std::string& text) { return EnglishToChinese(m_index, text); }

  DictionaryIndex m_index = IndexOf(Tables());
};

TEST_F(EnglishToChineseTest, PhrasesComeFirst) {
  EXPECT_EQ(Translate("Good morning"), "早上好");
  EXPECT_EQ(Translate("good good morning"), "好早上好");
  EXPECT_EQ(Translate("Thank you"), "谢谢");
  EXPECT_EQ(Translate("thank   you"), "谢谢") << "blanks between words do not matter";
  EXPECT_EQ(Translate("thank, you"), "感谢，你") << "punctuation ends a phrase";
  EXPECT_EQ(Translate("I love you"), "我爱你");
}

TEST_F(EnglishToChineseTest, InflectedWordsAreFoundThroughTheirDictionaryForm) {
  EXPECT_EQ(Translate("cities"), "城市");
  EXPECT_EQ(Translate("boxes"), "盒子");
  EXPECT_EQ(Translate("books"), "书");
  EXPECT_EQ(Translate("stopped"), "停");
  EXPECT_EQ(Translate("loved"), "爱");
  EXPECT_EQ(Translate("walked"), "走");
  EXPECT_EQ(Translate("tried"), "试");
  EXPECT_EQ(Translate("making"), "做");
  EXPECT_EQ(Translate("running"), "跑");
  EXPECT_EQ(Translate("walking"), "走");
  EXPECT_EQ(Translate("I am you"), "我是你") << "irregular forms of be";
}

TEST_F(EnglishToChineseTest, ArticlesDropAndPossessivesBecomeDe) {
  EXPECT_EQ(Translate("the book"), "书");
  EXPECT_EQ(Translate("a good book"), "好书");
  EXPECT_EQ(Translate("mother's book"), "母亲的书");
  EXPECT_EQ(Translate("Mother’s book"), "母亲的书") << "typographic apostrophe";
  EXPECT_EQ(Translate("it's you"), "it's 你") << "a contraction, not a possessive";
}

TEST_F(EnglishToChineseTest, PunctuationTurnsFullWidth) {
  EXPECT_EQ(Translate("Good morning, I love you!"), "早上好，我爱你！");
  EXPECT_EQ(Translate("you? you. you: (you); you"), "你？你。你：（你）；你");
  EXPECT_EQ(Translate("\"you\" and \"I\""), "“你” and “我”");
}

TEST_F(EnglishToChineseTest, KeepsUnknownWordsNumbersAndLines) {
  EXPECT_EQ(Translate("I love Python and Rust"), "我爱 Python and Rust") << "blanks kept next to kept words";
  EXPECT_EQ(Translate("3.5 books, 1,000 cities"), "3.5 书，1,000 城市");
  EXPECT_EQ(Translate("e-mail"), "电子邮件");
  EXPECT_EQ(Translate("don't"), "不要");
  EXPECT_EQ(Translate("good\nmorning"), "好\n早上") << "a line break ends a phrase";
  EXPECT_EQ(Translate("你好 you"), "你好你");
  EXPECT_EQ(Translate(""), "");
}

TEST(LookupFormsTest, ListsLikelyDictionaryForms) {
  EXPECT_EQ(LookupForms("book"), (std::vector<std::string>{"book"}));
  EXPECT_EQ(LookupForms("is").front(), "be");
  EXPECT_EQ(LookupForms("children").front(), "child");
  const auto has = [](const std::vector<std::string>& forms, const std::string& form) {
    return std::find(forms.begin(), forms.end(), form) != forms.end();
  };
  EXPECT_TRUE(has(LookupForms("cities"), "city"));
  EXPECT_TRUE(has(LookupForms("stopped"), "stop"));
  EXPECT_TRUE(has(LookupForms("hoped"), "hope"));
  EXPECT_TRUE(has(LookupForms("running"), "run"));
  EXPECT_TRUE(has(LookupForms("making"), "make"));
  EXPECT_FALSE(has(LookupForms("glass"), "glas")) << "ss is no plural";
  EXPECT_EQ(LookupForms("is").size(), 2u) << "no suffix rules for short words";
}

TEST(EnglishToChineseRealTest, TranslatesEverydayWords) {
  const DictionaryIndex index = DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX);
  EXPECT_EQ(EnglishToChinese(index, "hello"), "你好");
  EXPECT_EQ(EnglishToChinese(index, "I love you."), "我爱你。");
  EXPECT_EQ(EnglishToChinese(index, "Good night!"), "晚安！");
}

}  // namespace
}  // namespace parlavo::server
