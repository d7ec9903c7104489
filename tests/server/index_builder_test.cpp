#include <gtest/gtest.h>

#include "indexer/index_builder.h"

namespace parlavo::server {
namespace {

CedictEntry Entry(std::string traditional, std::string simplified, std::string pinyin,
                  std::vector<std::string> senses) {
  return {std::move(traditional), std::move(simplified), std::move(pinyin), std::move(senses)};
}

TEST(ChineseTableTest, HoldsBothFormsOfEveryHanHeadword) {
  const auto tables = BuildDictionaryTables({Entry("愛", "爱", "ai4", {"to love"}),
                                             Entry("3C", "3C", "san1 C", {"computers"}),
                                             Entry("T恤", "T恤", "T xu4", {"T-shirt"})},
                                            {});
  EXPECT_EQ(tables.chinese.at("爱").value, "to love");
  EXPECT_EQ(tables.chinese.at("愛").value, "to love");
  EXPECT_FALSE(tables.chinese.contains("3C")) << "only Han headwords take part in segmentation";
  EXPECT_FALSE(tables.chinese.contains("T恤"));
}

TEST(ChineseTableTest, PrefersTheNeutralToneReadingOfACharacter) {
  const auto tables = BuildDictionaryTables({Entry("了", "了", "le5", {"(completed action marker)"}),
                                             Entry("了", "了", "liao3", {"to finish", "to understand"}),
                                             Entry("了解", "了解", "liao3 jie3", {"to understand"})},
                                            {{"了解", 1000}});
  EXPECT_EQ(tables.chinese.at("了").value, "") << "a grammatical word translates into nothing";
  EXPECT_EQ(tables.chinese.at("了解").value, "to understand");
}

TEST(ChineseTableTest, PrefersMeaningsOverReferencesAndNames) {
  const auto tables = BuildDictionaryTables({Entry("水", "水", "Shui3", {"surname Shui"}),
                                             Entry("水", "水", "shui3", {"water", "river"}),
                                             Entry("着", "着", "zhe5", {"variant of 著|着[zhe5]"}),
                                             Entry("着", "着", "zhao2", {"to touch"})},
                                            {});
  EXPECT_EQ(tables.chinese.at("水").value, "water/river");
  EXPECT_EQ(tables.chinese.at("着").value, "to touch") << "a reference loses even to a later reading";
}

TEST(ChineseTableTest, PrefersTheReadingOfFrequentCompounds) {
  const auto tables = BuildDictionaryTables({Entry("說", "说", "shui4", {"to persuade"}),
                                             Entry("說", "说", "shuo1", {"to speak"}),
                                             Entry("說話", "说话", "shuo1 hua4", {"to talk"}),
                                             Entry("遊說", "游说", "you2 shui4", {"to lobby"})},
                                            {{"说话", 5000}, {"游说", 20}});
  EXPECT_EQ(tables.chinese.at("说").value, "to speak");
  EXPECT_EQ(tables.chinese.at("說").value, "to speak");
}

TEST(ChineseTableTest, TakesFrequencyAndTagFromJiebaAndTheClassifier) {
  const auto tables = BuildDictionaryTables({Entry("書", "书", "shu1", {"book", "letter", "CL:本[ben3],冊|册[ce4]"}),
                                             Entry("跑", "跑", "pao3", {"to run"}),
                                             Entry("北京", "北京", "Bei3 jing1", {"Beijing"})},
                                            {}, {{"书", {700, "n"}}, {"学习", {300, "v"}}});
  EXPECT_EQ(tables.chinese.at("書"), IndexRecord("book/letter", "n", 700, "本")) << "both forms share jieba's view";
  EXPECT_EQ(tables.chinese.at("跑"), IndexRecord("to run", "v", 0)) << "not in jieba: tagged by its sense";
  EXPECT_EQ(tables.chinese.at("北京").tag, "nz") << "a name";
  EXPECT_FALSE(tables.chinese.contains("学习")) << "jieba alone gives no English";
  EXPECT_EQ(tables.totalFrequency, 1000u);
}

TEST(EnglishTableTest, RanksByFrequencyOfTheChineseWord) {
  const auto tables = BuildDictionaryTables({Entry("狗", "狗", "gou3", {"dog"}),
                                             Entry("犬", "犬", "quan3", {"dog"})},
                                            {{"狗", 900}, {"犬", 30}});
  EXPECT_EQ(tables.english.at("dog").value, "狗");
}

TEST(EnglishTableTest, FirstSensesAndCleanRenderingsWeighMore) {
  const auto tables = BuildDictionaryTables(
      {Entry("好", "好", "hao3", {"good", "proper", "all right!", "easy to", "(after a form of address) hello"}),
       Entry("你好", "你好", "ni3 hao3", {"hello; hi"}),
       Entry("喂", "喂", "wei4", {"hello (interj., esp. on telephone)"})},
      {{"好", 600000}, {"你好", 800}, {"喂", 5000}});
  EXPECT_EQ(tables.english.at("hello").value, "你好");
  EXPECT_EQ(tables.english.at("good").value, "好");
  EXPECT_EQ(tables.english.at("hi").value, "你好");
}

TEST(EnglishTableTest, LeavesOutReferencesGrammarAndDatedSenses) {
  const auto tables = BuildDictionaryTables({Entry("那", "那", "nuo2", {"(archaic) many", "beautiful (old)"}),
                                             Entry("個", "个", "ge4", {"(classifier used before a noun)"}),
                                             Entry("年", "年", "nian2", {"year", "variant of 秊[nian2]"})},
                                            {{"那", 250000}});
  EXPECT_FALSE(tables.english.contains("many"));
  EXPECT_FALSE(tables.english.contains("beautiful"));
  EXPECT_EQ(tables.english.at("year").value, "年");
  EXPECT_EQ(tables.english.size(), 1u);
}

TEST(EnglishTableTest, PhrasesNeedASenseWithoutNotes) {
  const auto tables = BuildDictionaryTables({Entry("寒門", "寒门", "han2 men2", {"poor family", "(humble) my family"}),
                                             Entry("母雞", "母鸡", "mu3 ji1", {"hen", "(slang) I don't know"}),
                                             Entry("謝謝", "谢谢", "xie4 xie5", {"to thank", "thank you (polite)"})},
                                            {});
  EXPECT_FALSE(tables.english.contains("my family"));
  EXPECT_FALSE(tables.english.contains("i don't know"));
  EXPECT_FALSE(tables.english.contains("thank you"));
  EXPECT_EQ(tables.english.at("thank").value, "谢谢");
  EXPECT_FALSE(tables.english.contains("thank/v")) << "the verb reading is the plain key's";
  EXPECT_EQ(tables.english.at("poor family").value, "寒门");
}

TEST(EnglishTableTest, KeepsTheVerbAndNounReadingsWhereTheyDiffer) {
  const auto tables = BuildDictionaryTables({Entry("雨", "雨", "yu3", {"rain"}),
                                             Entry("下雨", "下雨", "xia4 yu3", {"to rain"}),
                                             Entry("致電", "致电", "zhi4 dian4", {"to phone"}),
                                             Entry("電話", "电话", "dian4 hua4", {"phone"})},
                                            {{"雨", 900}, {"下雨", 50}, {"致电", 900}, {"电话", 50}},
                                            {{"雨", {900, "n"}}, {"下雨", {50, "v"}}, {"致电", {9, "v"}}, {"电话", {9, "n"}}});
  EXPECT_EQ(tables.english.at("rain"), IndexRecord("雨", "n"));
  EXPECT_EQ(tables.english.at("rain/v"), IndexRecord("下雨", "v"));
  EXPECT_FALSE(tables.english.contains("rain/n")) << "the plain key's word already";
  EXPECT_EQ(tables.english.at("phone").value, "致电");
  EXPECT_EQ(tables.english.at("phone/n").value, "电话");
}

TEST(EnglishTableTest, KeysArePhrasesAsTheyAppearInText) {
  const auto tables = BuildDictionaryTables({Entry("早上好", "早上好", "zao3 shang5 hao3", {"Good morning!"}),
                                             Entry("愛", "爱", "ai4", {"to love; to be fond of"})},
                                            {});
  EXPECT_EQ(tables.english.at("good morning").value, "早上好");
  EXPECT_EQ(tables.english.at("love").value, "爱");
  EXPECT_EQ(tables.english.at("be fond of").value, "爱");
}

}  // namespace
}  // namespace parlavo::server
