#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstring>
#include <fstream>

#include "dictionary/pinyin_marks.h"
#include "dictionary/word_entry.h"
#include "engines/word_entry_engine.h"
#include "indexer/entry_text.h"
#include "indexer/index_writer.h"
#include "service_fixture.h"

// Dictionary entries for single words and fixed terms: what the index builder
// keeps of CC-CEDICT for them, how an entry reads, and that the service
// answers them before any engine.
namespace parlavo::server {
namespace {

CedictEntry Entry(std::string word, std::string pinyin, std::vector<std::string> senses) {
  return {word, word, std::move(pinyin), std::move(senses)};
}

DictionaryTables MiniTables() {
  return BuildDictionaryTables(
      {Entry("告诉", "gao4 su4", {"to press charges; to file a complaint"}),
       Entry("告诉", "gao4 su5", {"to tell; to inform; to let know"}),
       Entry("东西", "dong1 xi1", {"east and west"}),
       Entry("东西", "dong1 xi5", {"thing", "stuff", "person", "CL:個|个[ge4]"}),
       Entry("项目", "xiang4 mu4", {"item; project; (sports) event"}),
       Entry("节", "jie2", {"joint; node", "(bound form) section; segment",
                            "classifier for segments: lessons, train wagons, biblical verses etc"}),
       Entry("打", "da2", {"(loanword) dozen"}),
       Entry("打", "da3",
             {"to hit; to strike", "to fight", "(coll.) from; since (as in 打那以後|打那以后[da3 na4 yi3 hou4])"}),
       Entry("绿", "lu:4", {"green"}), Entry("西安", "Xi1 an1", {"Xi'an"}),
       Entry("银行", "yin2 hang2", {"bank", "CL:家[jia1]"}), Entry("岸", "an4", {"bank; shore; beach; coast"}),
       Entry("存", "cun2", {"to exist", "to deposit; to store; to keep; to bank"}),
       Entry("利率", "li4 lu:4", {"interest rate"}), Entry("签到", "qian1 dao4", {"to sign in"})},
      {{"银行", 7500}, {"岸", 3000}, {"存", 9000}, {"利率", 900}, {"签到", 100}},
      {{"告诉", {10953, "v"}}, {"东西", {18877, "n"}}, {"打", {33853, "v"}}, {"绿", {500, "a"}}},
      {{"bank", {200, 10, 0, 0}}, {"dozen", {15, 0, 0, 0, 15}}});
}

// Readings and classes by what each sense shows: 好 (jieba: an adjective) and
// its verb reading hào, in common use through 爱好; a rare reading left out.
DictionaryTables ReadingTables() {
  return BuildDictionaryTables(
      {Entry("好", "hao3", {"good", "appropriate; proper", "all right!", "(before a verb) easy to",
                            "(of two people) close; on intimate terms", "(before an adjective) so", "fine; nice",
                            "kind; friendly", "finished"}),
       Entry("快", "kuai4", {"rapid; quick", "soon; almost"}),
       Entry("好", "hao4", {"to be fond of; to have a tendency to; to be prone to"}),
       Entry("好", "hao1", {"(dialect) to shout"}), Entry("爱好", "ai4 hao4", {"to like; hobby"}),
       Entry("好人", "hao3 ren2", {"good person"}), Entry("好喊", "hao1 han3", {"(dialect) shouting"}),
       Entry("书", "shu1", {"book; letter", "CL:本[ben3]"}), Entry("书本", "shu1 ben3", {"book"}),
       Entry("预订", "yu4 ding4", {"to book; to reserve"}), Entry("订", "ding4", {"to book; to order"}),
       Entry("光", "guang1", {"light; ray"}), Entry("灯", "deng1", {"lamp; light"}),
       Entry("亮", "liang4", {"bright; light", "to shine"})},
      {{"爱好", 5000}, {"好人", 3000}, {"好喊", 1}, {"书", 9000}, {"书本", 900}, {"预订", 500}, {"订", 400},
       {"光", 9000}, {"灯", 3000}, {"亮", 4000}},
      {{"好", {92543, "a"}}, {"快", {21973, "a"}}, {"书", {18993, "n"}}, {"亮", {4307, "v"}}},
      {{"book", {59, 5, 0, 0}}, {"good", {10, 0, 500, 0}}, {"so", {0, 0, 17, 491}}, {"close", {9, 86, 77, 21}},
       {"light", {117, 27, 45, 0}}, {"bright", {0, 0, 60, 0}}, {"ray", {10, 0, 0, 0}}, {"lamp", {20, 0, 0, 0}},
       {"soon", {0, 0, 0, 50}}, {"almost", {0, 0, 0, 80}}});
}

TEST(IndexBuilderTest, KeepsEveryReadingAlternativeAndMeasureSense) {
  const DictionaryIndex index = testing::IndexOf(MiniTables());
  const std::vector<IndexReading> tell = index.ChineseReadings("告诉");
  ASSERT_EQ(tell.size(), 2u) << "both readings";
  EXPECT_EQ(tell[0].pinyin, "gao4 su5") << "the neutral-tone reading first";
  EXPECT_EQ(tell[0].senses.at(0).text, "tell; inform; let know");
  EXPECT_EQ(tell[1].senses.at(0).text, "press charges; file a complaint");
  EXPECT_EQ(index.Chinese("东西")->value, "thing/stuff/person/east and west") << "the rules' senses, every reading";
  EXPECT_EQ(index.ChineseReadings("项目").at(0).senses.at(0).text, "item; project; event") << "every alternative";

  const std::vector<IndexSense> joint = index.ChineseReadings("节").at(0).senses;
  ASSERT_EQ(joint.size(), 3u);
  EXPECT_TRUE(joint[1].bound);
  EXPECT_EQ(joint[2].wordClass, dictionary_format::kMeasureClass);
  EXPECT_EQ(joint[2].text, "for segments: lessons, train wagons");
  EXPECT_TRUE(index.ChineseReadings("没有").empty());

  const std::vector<IndexSense> bank = index.EnglishRenderings("bank");
  ASSERT_EQ(bank.size(), 3u) << "several Chinese words per English key";
  EXPECT_EQ(bank[0].text, "银行");
  EXPECT_EQ(bank[2].text, "存") << "a verb rendering of a word WordNet counts mostly as a noun comes last";
  EXPECT_EQ(bank[2].wordClass, dictionary_format::kVerbClass);
}

TEST(IndexBuilderTest, KeepsTheRulesWordButShowsTheCommonClassFirst) {
  const std::string explanation = "a semantically light, transitive verb that is combined with various grammatical "
                                  "objects to form compound verbs and verb-object phrases (e.g. 打伞)";
  const DictionaryTables tables = BuildDictionaryTables(
      {Entry("订", "ding4", {"to book; to order"}), Entry("书", "shu1", {"book", "letter"}),
       Entry("本", "ben3", {"(bound form) root; stem", "(bound form) this; the current", "classifier for books"}),
       Entry("打", "da3", {explanation, "to hit; to strike", "(archaic) to smite"})},
      {{"订", 100000}, {"书", 100}}, {{"订", {900, "v"}}, {"书", {700, "n"}}}, {{"book", {59, 5, 0, 0}}});
  EXPECT_EQ(tables.english.at("book").value, "订") << "the best-scored word, as the rules had it";
  const DictionaryIndex index = testing::IndexOf(tables);
  EXPECT_EQ(EnglishWordEntry(index, "book").value_or(""), "book\n名词：书\n动词：订") << "English uses book as a noun";
  EXPECT_EQ(tables.chinese.at("本").value, "root/this") << "bound forms stay, the classifier is grammar";
  EXPECT_EQ(tables.chinese.at("打").value, "to hit") << "no explanation, no dated sense after the first";
}

TEST(IndexBuilderTest, ShowsSensesShortAndWithoutPointers) {
  const std::string explanation = "a semantically light, transitive verb that is combined with various grammatical "
                                  "objects to form compound verbs and verb-object phrases";
  for (const auto& [sense, shown] : std::vector<std::pair<std::string, std::string>>{
           {"to hit; to strike", "hit; strike"},
           {"(coll.) from; since (as in 打那以後|打那以后[da3 na4 yi3 hou4] \"since then\")", "from; since"},
           {"(loanword) dozen", "dozen"},
           {"to make (a phone call)", "make (a phone call)"},
           {"to feel (uncomfortable etc)", "feel"},
           {"to think that ...", "think that"},
           {"all right!", "all right"},
           {"Beijing municipality, capital of the People's Republic of China", "Beijing municipality"},
           {"classifier for books, periodicals, files etc", "for books, periodicals"},
           {"(completed action marker)", "completed action marker"},
           {"(sentence-final particle) used in questions to link back to prior discourse or context",
            "sentence-final particle"},
           {"aspect particle indicating action in progress or ongoing state", "aspect particle"},
           {"(classifier used before a noun that has no specific classifier)",
            "classifier used before a noun that has no specific classifier"},
           {"used in names", ""},
           {explanation, ""},
       }) {
    EXPECT_EQ(EntrySenseText(sense), shown) << sense;
  }
}

TEST(IndexBuilderTest, ReadsWordNetCountsByClass) {
  const EnglishUse use = ParseWordNetCounts(
      "bank%1:14:00:: 2 20\nbank%1:17:01:: 1 25\nbank%2:35:00:: 2 1\nweak%5:00:00:light:00 3 4\n"
      "ice_cream%1:13:00:: 1 7\ndozen%1:23:00:: 1 15\nnot a count line\n%1:00:00:: 1 9\nbank%7:00:00:: 1 3\n");
  EXPECT_EQ(use.size(), 4u);
  EXPECT_EQ(use.at("bank"), (std::array<std::uint32_t, 5>{45, 1, 0, 0, 0}));
  EXPECT_EQ(use.at("weak"), (std::array<std::uint32_t, 5>{0, 0, 4, 0, 0})) << "a satellite adjective";
  EXPECT_EQ(use.at("dozen"), (std::array<std::uint32_t, 5>{15, 0, 0, 0, 15})) << "a unit of measure";
  EXPECT_EQ(use.at("ice cream")[0], 7u);
}

TEST(DictionaryIndexTest, AnEntryOutsideTheStringsIsRefused) {
  testing::TemporaryPath file;
  WriteDictionaryIndex(MiniTables(), file.path);
  std::string bytes;
  {
    std::ifstream in(file.path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::uint32_t far = 0xFFFFFF00u;
  std::memcpy(bytes.data() + sizeof(dictionary_format::Header) + offsetof(dictionary_format::Entry, entryOffset), &far,
              sizeof far);
  std::ofstream(file.path, std::ios::binary | std::ios::trunc) << bytes;
  EXPECT_THROW(DictionaryIndex::Load(file.path), DictionaryError);
}

TEST(WordEntryTest, ShowsPinyinAndSensesByClassEverydayFirst) {
  const DictionaryIndex index = testing::IndexOf(MiniTables());
  for (const auto& [text, entry] : std::vector<std::pair<std::string, std::string>>{
           {"打", "打 dǎ\n动词：hit; strike; fight\n介词：from; since\ndá\n量词：dozen"},
           {" 东西\n", "东西 dōngxi\n名词：thing; stuff; person\ndōngxī\n名词：east and west"},
           {"节", "节 jié\n名词：joint; node; section; segment\n量词：for segments: lessons, train wagons"},
           {"绿", "绿 lǜ\n形容词：green"},
           {"西安", "西安 Xī'ān\n专名：Xi'an"},
       }) {
    EXPECT_EQ(ChineseWordEntry(index, text).value_or("(none)"), entry) << text;
  }
  for (const auto& [text, entry] : std::vector<std::pair<std::string, std::string>>{
           {"bank", "bank\n名词：银行；岸\n动词：存"},
           {"Banks", "bank\n名词：银行；岸\n动词：存"},           // an inflected form
           {"interest rates", "interest rate\n名词：利率"},       // a multi-word term, inflected
           {"to sign in", "sign in\n动词：签到"},
       }) {
    EXPECT_EQ(EnglishWordEntry(index, text).value_or("(none)"), entry) << text;
  }
  // Sentences and words the dictionary lacks go to translation.
  EXPECT_FALSE(ChineseWordEntry(index, "我告诉他"));
  EXPECT_FALSE(ChineseWordEntry(index, "告诉，东西"));
  EXPECT_FALSE(EnglishWordEntry(index, "bank."));
  EXPECT_FALSE(EnglishWordEntry(index, "the bank is closed"));
}

TEST(WordEntryTest, ShowsEachCommonReadingAndEachClassWithinEightSenses) {
  const DictionaryIndex index = testing::IndexOf(ReadingTables());
  for (const auto& [text, entry] : std::vector<std::pair<std::string, std::string>>{
           // The verb reading kept within the eight senses, a dialect one of little use left out.
           {"好", "好 hǎo\n形容词：good; appropriate; proper; all right; close; on intimate terms; easy to; fine; nice; "
                  "kind; friendly\nhào\n动词：be fond of; have a tendency to"},
           {"快", "快 kuài\n形容词：rapid; quick\n副词：soon; almost"},  // English's adverbs, not jieba's class
           {"书", "书 shū\n名词：book; letter"},
       }) {
    EXPECT_EQ(ChineseWordEntry(index, text).value_or("(none)"), entry) << text;
  }
  for (const auto& [text, entry] : std::vector<std::pair<std::string, std::string>>{
           // Grouped by the English word's classes, its commonest first.
           {"book", "book\n名词：书；书本\n动词：预订；订"},
           {"light", "light\n名词：光；灯\n形容词：亮"},
       }) {
    EXPECT_EQ(EnglishWordEntry(index, text).value_or("(none)"), entry) << text;
  }
}

TEST(PinyinMarksTest, WritesToneMarksWhereTheyBelong) {
  for (const auto& [numbered, marked] : std::vector<std::pair<std::string, std::string>>{
           {"da3", "dǎ"},           {"lu:4", "lǜ"},          {"nv3", "nǚ"},        {"dong1 xi5", "dōngxi"},
           {"Xi1 an1", "Xī'ān"},     {"hua4 r5", "huàr"},     {"liu2", "liú"},      {"gui4", "guì"},
           {"zhou1 mo4", "zhōumò"},  {"A A zhi4", "A A zhì"}, {"lu:e4", "lüè"},      {":5", ":5"},
           {"Zhong1 hua2 Ren2 min2", "Zhōnghuá Rénmín"},
       }) {
    EXPECT_EQ(PinyinWithToneMarks(numbered), marked) << numbered;
  }
}

// Answers what it is asked with a mark of its own, counting the requests.
class NextEngine : public TranslationEngine {
 public:
  std::string Translate(const std::string& text, const std::string&, const std::string&) override {
    ++calls;
    return "next: " + text;
  }
  std::atomic<int> calls = 0;
};

TEST(WordEntryEngineTest, AnswersWordsBeforeTheEnginesAndPassesEverythingElseOn) {
  auto next = std::make_unique<NextEngine>();
  NextEngine& nextEngine = *next;
  WordEntryEngine engine(std::make_shared<const DictionaryIndex>(testing::IndexOf(MiniTables())), std::move(next));
  const Translation word = engine.Answer("绿", "", "en");
  EXPECT_EQ(word.text, "绿 lǜ\n形容词：green");
  EXPECT_EQ(word.engine, "dictionary");
  EXPECT_EQ(engine.Answer("interest rates", "en", "zh-CN").text, "interest rate\n名词：利率");
  EXPECT_EQ(nextEngine.calls, 0);
  EXPECT_EQ(engine.Answer("绿", "", "zh").text, "next: 绿") << "no entry into the word's own language";
  EXPECT_EQ(engine.Answer("bank", "en", "zh-TW").text, "next: bank") << "entries are in Simplified Chinese";
  EXPECT_EQ(engine.Answer("我告诉他", "", "en").text, "next: 我告诉他");
  EXPECT_EQ(nextEngine.calls, 3);
}

}  // namespace
}  // namespace parlavo::server
