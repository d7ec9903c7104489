#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "dictionary/chinese_clause_writer.h"
#include "dictionary/chinese_to_english.h"
#include "dictionary/closed_class_words.h"
#include "dictionary/dictionary_format.h"
#include "dictionary/english_to_chinese.h"
#include "indexer/index_writer.h"
#include "service_fixture.h"
#include "text/ascii.h"

// The offline engine's algorithms on mini dictionaries: segmentation, senses
// by word class, the transfer rules of each direction with the English
// inflections they need, how the index builder ranks renderings, and a
// damaged index file.
namespace parlavo::server {
namespace {

using Cases = std::vector<std::pair<std::string, std::string>>;

TEST(ChineseToEnglishTest, SegmentsChoosesSensesAndAppliesTheTransferRules) {
  DictionaryTables tables;
  tables.chinese = {
      {"我", {"I", "r", 5000}},        {"你", {"you", "r", 3000}},         {"他", {"he", "r", 3000}},
      {"的", {"", "uj", 9000}},        {"了", {"", "ul", 9000}},           {"吗", {"", "y", 2000}},
      {"在", {"to exist", "p", 8000}}, {"是", {"to be", "v", 9000}},       {"很", {"very", "zg", 3000}},
      {"不", {"not", "d", 5000}},      {"没", {"", "v", 2000}},            {"会", {"can", "v", 3000}},
      {"叫", {"to shout/to be called", "v", 1000}},                        {"电脑", {"computer", "n", 300, "台"}},
      {"坏", {"broken/to break down", "a", 300}},                          {"书", {"book", "n", 800, "本"}},
      {"本", {"root", "r", 900}},      {"一", {"one", "m", 9000}},         {"两", {"two", "m", 2000}},
      {"杯", {"cup", "q", 200}},       {"咖啡", {"coffee", "n", 100}},     {"喝", {"to drink", "vg", 500}},
      {"买", {"to buy", "v", 600}},    {"公园", {"park", "n", 300}},       {"里", {"inside", "f", 3000}},
      {"跑步", {"to run", "n", 100}},  {"今天", {"today", "t", 900}},      {"明天", {"tomorrow", "t", 300}},
      {"天天", {"every day", "d", 5}}, {"天气", {"weather", "n", 400}},    {"好", {"good/to be fond of", "a", 6000}},
      {"学生", {"student", "n", 800}}, {"去", {"to go", "v", 5000}},       {"北京", {"Beijing", "ns", 900}},
      {"老师", {"teacher", "n", 700}}, {"每天", {"every day", "r", 300}}, {"早上", {"morning", "t", 100}},
      {"今", {"now", "tg", 10}},       {"已", {"already", "d", 500}},      {"天", {"day", "q", 900}},
      {"气", {"gas", "n", 200}},         {"可能", {"maybe/might", "v", 900}}, {"还是", {"still/or", "d", 900}},
      {"零", {"zero", "m", 500}},        {"点", {"point/o'clock", "q", 900}}, {"五", {"five", "m", 900}},
      {"十一", {"eleven", "m", 100}},    {"三十", {"thirty", "m", 100}},   {"分钟", {"minute", "n", 300}},
      {"美元", {"US dollar", "n", 200}}, {"百分之", {"percent", "m", 100}}, {"下周", {"next week", "t", 200}},
      {"周五", {"Friday", "t", 100}},    {"第三", {"third", "m", 200}},     {"三月", {"March", "t", 100}},
      {"日", {"sun/day", "m", 900}},    {"把", {"handlebar", "p", 3000}},  {"被", {"quilt", "p", 2000}},
      {"放", {"to put", "v", 800}},      {"桌子", {"table", "n", 300}},    {"上", {"on/to go up", "f", 3000}},
      {"偷", {"to steal", "v", 100}},    {"钱包", {"wallet", "n", 100}},   {"小", {"small", "a", 3000}},
      {"有", {"to have", "v", 5000}},    {"来", {"to come", "v", 3000}},   {"别", {"do not", "d", 900}},
      {"走", {"to walk/to leave", "v", 900}}, {"先生", {"sir/Mr.", "n", 600}}, {"写", {"to write", "v", 500}},
      {"信", {"letter", "n", 400}},      {"长", {"long", "a", 800}},        {"从来", {"always", "d", 300}},
      {"但是", {"but", "c", 900}},       {"没有", {"not have", "v", 4000}},  {"一个", {"a", "m", 5000}},
      {"小时", {"hour", "n", 300}},      {"二", {"two", "m", 900}},        {"四", {"four", "m", 900}},
      {"年", {"year", "q", 900}},        {"时候", {"time", "n", 900}},     {"得", {"to obtain", "v", 900}},
      {"过", {"to cross", "v", 900}},   {"和", {"and/with", "c", 3000}},
      {"这", {"this", "r", 5000}},       {"起", {"to rise", "v", 900, "", "#qi3\nv.rise\nq.for events"}},
      {"事故", {"accident", "n", 100}},  {"该", {"should", "r", 900}},   {"什么", {"what", "r", 900}},
      {"高", {"high/tall", "a", 900}},   {"之前", {"before", "f", 500}}, {"几点", {"what time", "r", 100}},
      {"让", {"to yield/to let sb do sth", "v", 900}},                    {"次", {"next", "q", 900, "", "#ci4\nn.next\nq.for events"}},
      {"三次", {"third/three times", "m", 100}},                          {"无法", {"unable to", "n", 500}},
      {"上海", {"Shanghai municipality", "ns", 500}},                     {"越来越", {"more and more", "d", 500}},
      {"下雨", {"to rain", "v", 100}},   {"帮", {"to help", "v", 500}},     {"比", {"to compare", "p", 900}},
      {"从", {"from", "p", 900}},        {"到", {"to arrive", "v", 900}},    {"多", {"many/much", "m", 3000}},
      {"我们", {"we", "r", 3000}},       {"一家", {"the whole family", "m", 300}},
      {"家", {"home", "q", 900, "", "#jia1\nn.home\nq.for businesses"}}, {"银行", {"bank", "n", 300}},
      {"中文", {"Chinese language", "nz", 300}}, {"一点", {"a bit", "m", 300}},
  };
  tables.totalFrequency = 150000;
  const DictionaryIndex index = testing::IndexOf(tables);
  for (const auto& [chinese, english] : Cases{
           {"今天天气很好。", "The weather is very good today."},  // 今天/天气, not 今/天天/气; time word last
           {"我叫王", "I am called 王"},                         // sense by word class
           {"他跑步", "He runs"},                                 // a "noun" with only verb senses
           {"我的电脑坏了。", "My computer is broken."},         // pronoun + 的; adjective predicate
           {"老师的书", "The teacher's book"},                    // noun + 的 + noun
           {"他买了一本书。", "He bought a book."},               // 了 after a verb; the noun's classifier
           {"我喝两杯咖啡", "I drink two cups of coffee"},        // a container measure
           {"他在喝咖啡", "He is drinking coffee"},               // 在 + verb
           {"他在公园里跑步", "He runs in the park"},             // 在 + place after the verb
           {"我不喝咖啡", "I don't drink coffee"},
           {"他没去北京", "He didn't go to Beijing"},
           {"我每天早上喝咖啡", "I drink coffee every morning"},
           {"书已买", "The book has been bought"},               // a thing undergoes the act
           {"你是学生吗？", "Are you a student?"},               // 吗: question order
           {"他喝咖啡吗？", "Does he drink coffee?"},
           {"他明天会去北京吗？", "Will he go to Beijing tomorrow?"},
           {"书\r\n\n天气　书", "Book\n\nWeather book"},
           {"ＡＢＣ１２３", "ABC123"},
           // Negation after a modal or an adverb, and as a prohibition.
           {"我可能不去", "I might not go"},
           {"我还是不去", "I still don't go"},
           {"你别走", "Don't walk"},
           {"他没有咖啡", "He doesn't have coffee"},
           // Numbers, times, money and dates.
           {"零点五", "0.5"},
           {"百分之零点五", "0.5%"},
           {"我十一点去", "I go at eleven o'clock"},
           {"我喝了三十分钟", "I drank 30 minutes"},
           {"我有五十美元", "I have 50 dollars"},
           {"他下周五去北京", "He goes to Beijing next Friday"},
           {"第三天", "The third day"},
           {"三月五日", "On March 5"},
           {"我喝了一个小时", "I drank one hour"},         // 一个 glued by the segmenter
           {"二零二四年他去北京", "He goes to Beijing in 2024"},
           // Function words and order.
           {"我把书放在桌子上", "I put the book on the table"},
           {"我的钱包被偷了", "My wallet was stolen"},
           {"他写的信很长", "The letter that he writes is very long"},
           {"但是他不去", "But he doesn't go"},
           {"但是很好", "But it is very good"},
           {"他来的时候，我不去", "When he comes, I don't go"},
           {"他去过北京", "He has been to Beijing"},
           {"我得去", "I have to go"},
           {"我和他是学生", "I and he are students"},
           // Names the dictionary lacks.
           {"小王来了", "Xiao Wang came"},
           {"王先生是老师", "Mr Wang is a teacher"},
           {"他叫李小明", "He is called 李小明"},          // no pinyin for a given name: kept whole
           // Senses by neighbours: a classifier sense after 这, 该 before a noun, "let sb do sth" before a person.
           {"这起事故", "This accident"},
           {"他去一家银行", "He goes to a bank"},             // 一家 held as one word: a + measure
           {"该书很长", "The book is very long"},
           {"他让我写信", "He lets me write letter"},
           {"我去了三次", "I went three times"},             // 三次 split into number and measure
           {"他去上海", "He goes to Shanghai"},              // a place name without its note
           {"他写中文", "He writes Chinese"},                // a language by its name
           // Questions, comparisons, existence, times.
           {"你去不去？", "Do you go?"},
           {"这是什么？", "What is this?"},
           {"你几点来？", "What time do you come?"},
           {"明天会下雨吗？", "Will it rain tomorrow?"},
           {"书比桌子小", "The book is smaller than the table"},
           {"书小一点", "The book is a little smaller"},
           {"天气越来越好", "The weather is getting better and better"},
           {"公园里有学生", "There is a student in the park"},
           {"他明天之前来", "He comes before tomorrow"},
           {"我从十一点喝咖啡", "I drink coffee from eleven o'clock"},
           {"我从明天喝咖啡", "I drink coffee from tomorrow"},
           {"我今天早上喝咖啡", "I drink coffee this morning"},
           {"一千万", "Ten million"},
           {"一亿三千万", "130 million"},                   // 万 multiplies its section only
           // Order and function words.
           {"他到北京了", "He arrived in Beijing"},
           {"去北京的学生", "The student that goes to Beijing"},
           {"钱包已被偷", "The wallet has been stolen"},
           {"我无法去", "I cannot go"},
           {"帮帮我", "Help me"},
           {"他多喝咖啡", "He drinks more coffee"},
           {"这本书是我的", "This book is mine"},
           {"我们老师很好", "Our teacher is very good"},
       }) {
    EXPECT_EQ(ChineseToEnglish(index, chinese), english) << chinese;
  }
  RuleTrace trace;
  ChineseToEnglish(index, "我可能不去", &trace);
  EXPECT_EQ(trace.rules(), (std::vector<std::string>{"pronoun", "modal", "negation", "verb", "modal + verb"}));
  // Rules that look ahead, cut short at the end of a clause.
  for (const char* odd : {"第", "百分之", "十一点半", "三月", "零点", "把", "被", "小", "我的的", "没有", "别", "点点",
                          "有没", "不不", "是否", "比", "之前", "在之前", "帮帮", "这起", "到", "从",
                          "九万万万万万万万万万万万万万万万万万万块"}) {
    EXPECT_NO_THROW(ChineseToEnglish(index, odd)) << odd;
  }
}

// How a dictionary sense reads in a sentence, and English comparatives.
TEST(ChineseToEnglishTest, RenderingsDropPlaceholdersAndComparativesInflect) {
  for (const auto& [sense, rendering] : Cases{
           {"let sb do sth", "let"},
           {"make sb (feel sad etc)", "make"},
           {"return sth to sb", "return"},
           {"get in touch with", "get in touch with"},
           {"sb's", "sb's"},  // nothing left: the sense as it was
           {"(coll.) cell phone", "cell phone"},
       }) {
    EXPECT_EQ(chinese_rules::Rendering(sense), rendering) << sense;
  }
  for (const auto& [adjective, comparative] : Cases{
           {"cold", "colder"}, {"big", "bigger"}, {"easy", "easier"}, {"large", "larger"}, {"new", "newer"},
           {"good", "better"}, {"expensive", "more expensive"}, {"well known", "more well known"},
           {"rapid", "more rapid"}, {"busy", "busier"}, {"quiet", "quieter"},
       }) {
    EXPECT_EQ(chinese_rules::Comparative(adjective), comparative) << adjective;
  }
}

TEST(EnglishToChineseTest, AppliesTheTransferRules) {
  DictionaryTables tables;
  tables.english = {
      {"learn", {"学会", "n"}},         {"learn/v", {"学习", "v"}},       {"chinese", {"中文", "nz"}},
      {"computer", {"电脑", "n", 0, "台"}}, {"broken", {"坏", "a"}},      {"book", {"书", "n", 0, "本"}},
      {"buy", {"买", "v"}},             {"coffee", {"咖啡", "n"}},        {"drink", {"喝", "v"}},
      {"park", {"公园", "n"}},          {"run", {"跑步", "v"}},           {"tomorrow", {"明天", "t"}},
      {"rain/v", {"下雨", "v"}},        {"rain", {"雨", "n"}},            {"small", {"小", "a"}},
      {"room", {"房间", "n", 0, "间"}}, {"name", {"名字", "n"}},          {"like", {"喜欢", "v"}},
      {"fish", {"鱼", "n", 0, "条"}},   {"child", {"孩子", "n"}},         {"go", {"去", "v"}},
      {"school", {"学校", "n"}},        {"station", {"车站", "n"}},
      {"interest", {"关注", "v"}},      {"rate", {"率", "n"}},            {"interest rate", {"利率", "n"}},
      {"rise", {"上升", "v"}},          {"sign", {"签", "v"}},            {"sign in", {"登录", "v"}},
      {"dollar", {"块", "n"}},          {"minute", {"分", "n"}},          {"wait", {"等", "v"}},
      {"friday", {"星期五", "t"}},      {"tea", {"茶", "n"}},             {"steal", {"偷", "v"}},
      {"wallet", {"钱包", "n"}},        {"finish", {"完成", "v"}},        {"work", {"工作", "n"}},
      {"busy", {"忙", "a"}},            {"know", {"知道", "v"}},          {"milk", {"牛奶", "n"}},
      {"money", {"钱", "n"}},           {"cost", {"花", "v"}},            {"come", {"来", "v"}},
      {"tall", {"高", "a"}},            {"beijing", {"北京", "ns"}},
      {"table", {"桌子", "n", 0, "张"}}, {"heavy", {"重", "a"}},         {"carry", {"搬", "v"}},
      {"eat", {"吃", "v"}},             {"wash", {"洗", "v"}},            {"hand", {"手", "n"}},
      {"meeting", {"会议", "n"}},       {"sleep", {"睡", "v"}},           {"morning", {"早上", "t"}},
      {"on time", {"按时", "d"}},       {"send", {"发", "v"}},            {"time", {"时候", "n"}},
      {"write", {"写", "v"}},           {"writ", {"令", "v"}},            {"smoke", {"烟", "n"}},
      {"smoke/v", {"抽烟", "v"}},      {"delay", {"耽误", "v"}},        {"price", {"价格", "n"}},
      {"price/v", {"定价", "v"}},       {"tired", {"累", "v"}},           {"bus", {"公车", "n"}},
      {"this year", {"今年", "t"}},     {"latest", {"最新", "d"}},
  };
  const DictionaryIndex index = testing::IndexOf(tables);
  for (const auto& [english, chinese] : Cases{
           {"My computer is broken.", "我的电脑很坏。"},         // possessive; be + adjective
           {"He bought a book.", "他买了一本书。"},              // past; the noun's classifier
           {"I have two children", "我有两个孩子"},
           {"I drink a cup of coffee", "我喝一杯咖啡"},
           {"I am learning Chinese.", "我在学习中文。"},         // progressive; the verb reading
           {"He is running in the park", "他在公园里跑步"},       // place before the verb
           {"I don't like fish", "我不喜欢鱼"},                  // do-support removed
           {"I didn't go to school tomorrow", "我明天没去学校"},  // time after the subject
           {"This room is too small", "这间房间太小了"},
           {"Will it rain tomorrow?", "明天会下雨吗？"},         // yes/no question; 'it' unsaid
           {"Do you like coffee?", "你喜欢咖啡吗？"},
           {"What is your name?", "你的名字是什么？"},
           {"Where is the station?", "车站在哪里？"},
           {"I like Python and Rust", "我喜欢 Python 和 Rust"},  // unknown names kept
           {"\"book\"\nbook", "“书”\n书"},
           // Negation never lost.
           {"I never drink coffee", "我从不喝咖啡"},
           {"There is no milk", "没有牛奶"},
           {"I have no money", "我没有钱"},
           {"I might not go", "我可能不去"},
           // Numbers, times and money.
           {"It costs fifty dollars", "花五十美元"},
           {"I waited thirty minutes", "我等了三十分钟"},
           {"I go at eleven o'clock", "我十一点去"},
           {"I go to school next Friday", "我下周五去学校"},
           {"The second book is small", "第二本书很小"},
           {"It rose 5 percent", "上升了百分之5"},
           // Multi-word entries, longest first and inflected.
           {"Interest rates rose", "利率上升了"},
           {"I signed in", "我登录了"},
           // Auxiliaries, clause joiners, passives and relative clauses.
           {"I have to go", "我必须去"},
           {"I have been to Beijing", "我去过北京"},
           {"He is taller than me", "他比我更高"},
           {"I waited for two hours", "我等了两小时"},
           {"He has finished the work", "他已完成工作"},
           {"I like tea but he likes coffee", "我喜欢茶，但是他喜欢咖啡"},
           {"I know that he is busy", "我知道他很忙"},
           {"I was busy when he came", "他来了的时候，我很忙"},
           {"My wallet was stolen by him", "我的钱包被他偷了"},
           {"The book that I bought is small", "我买的书很小"},
           {"The book on the table is small", "桌子上的书很小"},      // place + 的 + noun
           {"Which book do you like?", "你喜欢哪本书？"},
           {"Where can I buy coffee?", "我可以在哪里买咖啡？"},
           {"Let me know", "让我知道"},
           {"Wash your hands before eating", "吃以前洗你的手"},
           {"He slept during the meeting", "他会议期间睡了"},
           {"We go at nine in the morning", "我们早上九点去"},     // the larger unit of time first
           {"Are you busy this evening?", "你今晚很忙吗？"},
           {"I work in Beijing", "我在北京工作"},
           {"He has not finished the work", "他没完成工作"},     // negated perfect: 没
           {"I have not been to Beijing", "我没去过北京"},
           {"He came on time", "他按时来了"},                    // a phrase begun by a preposition
           {"I send it by Friday", "我周五之前发它"},
           {"I drink tea three times a day", "我每天喝茶三次"},
           {"I waited a day", "我等了一天"},
           {"I am writing", "我在写"},                           // write, not writ
           {"No smoking", "禁止抽烟"},
           {"I would like to buy a book", "我想买一本书"},
           {"Can I buy a book?", "我可以买一本书吗？"},
           {"It rose by 5 percent", "上升了百分之5"},               // by + an amount is no agent
           {"I was delayed by two hours", "我耽误了两小时"},
           {"The book is too heavy to carry", "书太重了，无法搬"},
           {"You must not go", "你不能去"},                       // a prohibition, not 不必须
           {"I am going to buy a book", "我要买一本书"},
           {"He is going to school", "他去学校"},                  // a plan: no 在
           {"I was tired", "我很累"},                              // a past state takes no 了
           {"I knew that he was busy", "我知道他很忙"},
           {"Let me know if you are busy", "如果你很忙，让我知道"},  // the condition first
           {"This room is too small for me", "这间房间对我来说太小了"},
           {"I drink lots of coffee", "我喝很多咖啡"},
           {"Thousands of children came", "数千孩子来了"},
           {"Tea prices rose", "茶价格上升了"},                    // noun + noun before the verb
           {"Which book do you like best?", "你最喜欢哪本书？"},
           {"I go to school by bus", "我坐公车去学校"},            // by + means in an active clause
           {"I have never been to Beijing", "我从没去过北京"},      // an adverb inside the perfect
           {"Is there milk?", "有牛奶吗？"},
           {"My wallet will be stolen by him", "我的钱包会被他偷"},  // no 了 on what is to come
           {"I work this year", "我今年工作"},                     // this + time: one phrase
           {"I know he is busy", "我知道他很忙"},                  // a subject pronoun begins a clause
           {"Do you know he is busy?", "你知道他很忙吗？"},         // 吗 ends the whole question
           {"I like the latest book", "我喜欢最新的书"},            // an adverb before a noun modifies it
           {"We go after rain", "我们下雨以后去"},                  // a bare word after after/before: the verb
       }) {
    EXPECT_EQ(EnglishToChinese(index, english), chinese) << english;
  }
  for (const char* odd : {"that", "I know that", "and he", "the book that", "no", "there is", "have to", "by",
                          "n't 2din'?", "eleven o'clock o'clock", "next", "a lot of"}) {
    EXPECT_NO_THROW(EnglishToChinese(index, odd)) << odd;
  }
}

// A row of the closed-class table that another row of the same word and class
// hides, or that lacks its word for a direction it is read in, is a fault.
TEST(ClosedClassWordsTest, EveryRowIsFoundInEachDirectionItIsReadIn) {
  for (const ClosedClassWord& row : ClosedClassWords()) {
    EXPECT_FALSE((row.flags & kToChinese) && (row.flags & kToEnglish)) << row.chinese;
    if (!(row.flags & kToChinese)) {
      EXPECT_EQ(ChineseClosedWord(row.chinese, row.wordClass), &row) << row.chinese << " / " << row.english;
    }
    if (!(row.flags & kToEnglish)) {
      const std::string key = ToLowerAscii(row.english);
      EXPECT_EQ(EnglishClosedWord(key, row.wordClass), &row) << row.english << " / " << row.chinese;
      if (!row.object.empty() && row.object != row.english) {
        EXPECT_EQ(EnglishClosedWord(row.object, row.wordClass), &row) << row.object;
      }
    }
  }
  EXPECT_EQ(EnglishClosedWord("her")->wordClass, WordClass::Possessive) << "her book: 她的书";
  EXPECT_EQ(EnglishClosedWord("may")->wordClass, WordClass::Modal) << "may before May";
}

CedictEntry Entry(std::string word, std::string pinyin, std::vector<std::string> senses) {
  return {word, word, std::move(pinyin), std::move(senses)};
}

TEST(IndexBuilderTest, RanksRenderingsByFrequencySenseOrderAndCleanliness) {
  const auto tables = BuildDictionaryTables(
      {Entry("狗", "gou3", {"dog"}), Entry("犬", "quan3", {"dog"}), Entry("水", "Shui3", {"surname Shui"}),
       Entry("水", "shui3", {"water", "river"}), Entry("了", "le5", {"(completed action marker)"}),
       Entry("好", "hao3", {"good", "proper", "all right!", "easy to", "(after a form of address) hello"}),
       Entry("你好", "ni3 hao3", {"hello; hi"}), Entry("雨", "yu3", {"rain"}), Entry("下雨", "xia4 yu3", {"to rain"}),
       Entry("那", "nuo2", {"(archaic) many"}), Entry("书", "shu1", {"book", "CL:本[ben3]"})},
      {{"狗", 900}, {"犬", 30}, {"好", 600000}, {"你好", 800}},
      {{"雨", {900, "n"}}, {"下雨", {50, "v"}}, {"书", {700, "n"}}});
  EXPECT_EQ(tables.english.at("dog").value, "狗") << "the more frequent word";
  EXPECT_EQ(tables.english.at("hello").value, "你好") << "a first, clean sense weighs more";
  EXPECT_EQ(tables.english.at("rain/v").value, "下雨");
  EXPECT_EQ(tables.english.at("rain").value, "雨");
  EXPECT_FALSE(tables.english.contains("many")) << "a dated sense";
  EXPECT_EQ(tables.chinese.at("水").value, "water/river") << "meanings before names";
  EXPECT_EQ(tables.chinese.at("了").value, "") << "a grammatical word translates into nothing";
  const IndexRecord& book = tables.chinese.at("书");
  EXPECT_EQ(IndexRecord(book.value, book.tag, book.frequency, book.measure), IndexRecord("book", "n", 700, "本"));
}

TEST(IndexBuilderTest, RanksByTheShareOfAWordsSensesAndItsClass) {
  const auto tables = BuildDictionaryTables(
      {Entry("时候", "shi2 hou5", {"time", "length of time", "moment", "period"}),
       Entry("时间", "shi2 jian1", {"(concept of) time", "(duration of) time", "(point in) time"}),
       Entry("是", "shi4", {"is; are; am", "right; yes"}), Entry("对", "dui4", {"right; correct", "towards", "pair"}),
       Entry("上海", "Shang4 hai3", {"Shanghai municipality (short name 滬|沪[Hu4])"}),
       Entry("早", "zao3", {"early", "morning", "Good morning!"}), Entry("早安", "zao3 an1", {"Good morning!"}),
       Entry("非", "fei1", {"to not be; not", "wrong; incorrect"}),
       Entry("错误", "cuo4 wu4", {"mistaken; false; wrong", "error; mistake"}),
       Entry("省", "sheng3", {"to save; to economize", "province"}), Entry("救", "jiu4", {"to save; to rescue"})},
      {{"时候", 1000}, {"时间", 800}, {"是", 90000}, {"对", 20000}, {"上海", 5000}, {"早", 50000}, {"早安", 800},
       {"非", 16000}, {"错误", 6000}, {"省", 30000}, {"救", 8000}},
      {{"时候", {1000, "n"}}, {"时间", {800, "n"}}, {"是", {90000, "v"}}, {"对", {20000, "p"}}, {"早", {50000, "a"}},
       {"早安", {800, "l"}}, {"非", {16000, "h"}}, {"错误", {6000, "n"}}, {"省", {30000, "n"}}, {"救", {8000, "v"}}},
      {{"right", {82, 0, 52, 57}}, {"save", {0, 79, 0, 0}}});
  for (const auto& [key, word] : Cases{{"time", "时间"},       // every sense of it, against one of four
                                       {"right", "对"},        // a verb's minor sense for a key never a verb
                                       {"shanghai", "上海"},   // a name by its first words
                                       {"good morning", "早安"},  // a phrase is seldom one character
                                       {"wrong", "错误"},        // nor a prefix a word
                                       {"save", "救"}}) {         // a noun's rare verb sense
    EXPECT_EQ(tables.english.at(key).value, word) << key;
  }
}

TEST(DictionaryIndexTest, ADamagedFileIsRefused) {
  DictionaryTables tables;
  tables.chinese = {{"你好", {"hello", "l", 800}}, {"书", {"book", "n", 9, "本"}}, {"了", ""}};
  tables.english = {{"hello", "你好"}, {"good morning", "早上好"}};
  testing::TemporaryPath file;
  WriteDictionaryIndex(tables, file.path);
  std::string bytes;
  {
    std::ifstream in(file.path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  EXPECT_EQ(DictionaryIndex::Load(file.path).Chinese("书")->measure, "本");
  EXPECT_EQ(DictionaryIndex::Load(file.path).English("good morning")->value, "早上好");

  constexpr std::size_t firstEntry = sizeof(dictionary_format::Header);
  std::string magic = bytes, outside = bytes, unsorted = bytes;
  magic[0] = 'X';
  const std::uint32_t far = 0xFFFFFF00u;
  std::memcpy(outside.data() + firstEntry, &far, sizeof far);
  std::swap_ranges(unsorted.begin() + firstEntry, unsorted.begin() + firstEntry + sizeof(dictionary_format::Entry),
                   unsorted.begin() + firstEntry + sizeof(dictionary_format::Entry));
  for (const auto& [damaged, what] : Cases{{bytes.substr(0, bytes.size() - 1), "truncated"},
                                           {bytes.substr(0, 10), "shorter than its header"},
                                           {bytes + "x", "trailing bytes"},
                                           {magic, "magic"},
                                           {outside, "key outside the strings"},
                                           {unsorted, "unsorted"}}) {
    std::ofstream(file.path, std::ios::binary | std::ios::trunc) << damaged;
    EXPECT_THROW(DictionaryIndex::Load(file.path), DictionaryError) << what;
  }
  EXPECT_THROW(DictionaryIndex::Load(file.path / "missing"), DictionaryError);
}

}  // namespace
}  // namespace parlavo::server
