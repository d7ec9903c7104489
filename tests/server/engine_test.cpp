#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "detection/language_detector.h"
#include "engines/engine_chain.h"
#include "engines/google_engine.h"
#include "engines/libretranslate_engine.h"
#include "engines/microsoft_engine.h"
#include "engines/text_chunks.h"
#include "engines/transmart_engine.h"
#include "fake_upstream.h"
#include "service_fixture.h"

// The chain of engines against one fake upstream on 127.0.0.1, the cutting
// of long texts, and the Simplified/Traditional decision.
namespace parlavo::server {
namespace {

using testing::FakeUpstream;

const std::string kSentence = "我的电脑坏了。";

// The online engines named, all at `url`, then the real dictionary; the
// chain's log kept.
struct Chain {
  explicit Chain(const std::vector<std::string>& names, const std::string& url,
                 std::chrono::steady_clock::duration firstPause = EngineChain::kPause) {
    std::vector<EngineChain::Link> links;
    for (const std::string& name : names) {
      if (name == "microsoft") links.push_back({name, "微软翻译", true, std::make_unique<MicrosoftEngine>(url)});
      if (name == "transmart") links.push_back({name, "腾讯交互翻译", true, std::make_unique<TransmartEngine>(url)});
      if (name == "google") links.push_back({name, "Google 翻译", true, std::make_unique<GoogleEngine>(url)});
    }
    links.push_back({"dictionary", "离线词典", false,
                     std::make_unique<DictionaryEngine>(DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX))});
    chain = std::make_unique<EngineChain>(std::move(links), firstPause,
                                          [this](const std::string& line) { log.push_back(line); });
  }
  std::vector<std::string> log;
  std::unique_ptr<EngineChain> chain;
};

TEST(EngineChainTest, EachEngineHandsOverToTheNextAndTheReplySaysWhyInAFewWords) {
  const std::vector<std::string> online = {"microsoft", "transmart", "google"};
  struct Case {
    std::vector<std::pair<std::string, int>> failing;  // route, status
    std::string engine, details;
  };
  for (const Case& test : std::vector<Case>{
           {{}, "microsoft", ""},
           {{{"POST /translate/translatetext", 429}}, "transmart", "微软翻译请求过多（429）"},
           {{{"POST /translate/translatetext", 403}}, "transmart", "微软翻译拒绝了请求"},
           {{{"POST /translate/translatetext", 500}, {"POST /api/imt", 200}}, "google", "微软翻译出错"},
           {{{"POST /translate/translatetext", 503}, {"POST /api/imt", 503}, {"POST /translate_a/single", 429}},
            "dictionary", "微软翻译出错"},
       }) {
    FakeUpstream fake;
    for (const auto& [route, status] : test.failing) fake.Answer(route, status, R"({"header":{"ret_code":"error"}})");
    Chain engines(online, fake.Url());
    const Translation answer = engines.chain->Answer(kSentence, "zh", "en");
    EXPECT_EQ(answer.engine, test.engine);
    EXPECT_EQ(answer.details, test.details);
  }

  // Nothing reachable: the short reason says so, the log says where, once.
  Chain unreachable(online, "http://user:secret@" + parlavo::testing::RefusingProxyUrl().substr(7));
  for (int request = 0; request < 2; ++request) {
    const Translation answer = unreachable.chain->Answer(kSentence, "zh", "en");
    EXPECT_EQ(answer.engine, "dictionary");
    EXPECT_EQ(answer.details, "在线翻译均无法连接");
  }
  ASSERT_EQ(unreachable.log.size(), 3u) << "one line per paused engine";
  for (const std::string& line : unreachable.log) {
    EXPECT_NE(line.find("127.0.0.1:"), std::string::npos) << line;
    EXPECT_EQ(line.find("secret"), std::string::npos) << "credentials shown: " << line;
    EXPECT_EQ(line.find("user"), std::string::npos) << "credentials shown: " << line;
  }
}

TEST(EngineChainTest, APauseDoublesWithEachFailureInARowAndAnAnswerEndsTheRow) {
  FakeUpstream fake;
  Chain engines({"google"}, fake.Url(), std::chrono::milliseconds(40));
  const auto request = [&] { return engines.chain->Answer(kSentence, "zh", "en").engine; };
  fake.Answer("POST /translate_a/single", 503, "");
  EXPECT_EQ(request(), "dictionary");
  EXPECT_EQ(request(), "dictionary");
  EXPECT_EQ(fake.Requests().size(), 1u) << "the paused engine was asked again";
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_EQ(request(), "dictionary");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  fake.Answer("POST /translate_a/single", 200, R"([[["My computer is broken."]]])");
  EXPECT_EQ(request(), "google");
  fake.Answer("POST /translate_a/single", 503, "");
  EXPECT_EQ(request(), "dictionary");
  ASSERT_EQ(engines.log.size(), 3u);
  EXPECT_NE(engines.log[0].find("40 毫秒内"), std::string::npos) << engines.log[0];
  EXPECT_NE(engines.log[1].find("80 毫秒内"), std::string::npos) << engines.log[1];
  EXPECT_NE(engines.log[2].find("40 毫秒内"), std::string::npos) << engines.log[2];

  // A refused request says nothing about the next one: no pause.
  Chain rejecting({"google"}, fake.Url());
  fake.Answer("POST /translate_a/single", 400, "");
  fake.Answer("GET /translate_a/single", 400, "");
  EXPECT_EQ(rejecting.chain->Answer(kSentence, "zh", "en").details, "Google 翻译拒绝了请求");
  EXPECT_EQ(rejecting.chain->Answer(kSentence, "zh", "en").engine, "dictionary");
  EXPECT_TRUE(rejecting.log.empty());
  EXPECT_THROW(rejecting.chain->Answer("hello", "en", "fr"), UnsupportedLanguagePair) << "the last engine's failure";
}

TEST(EngineChainTest, TheEnvelopeNamesTheEngineThatAnswered) {
  FakeUpstream fake;
  Chain engines({"microsoft"}, fake.Url());
  testing::RunningService service(*engines.chain);
  const std::string translate =
      "/ajax/services/language/translate?v=1.0&langpair=zh|en&q=" + PercentEncodeEveryByte(kSentence);
  EXPECT_EQ(testing::BodyOf(testing::Get(service.port(), translate)),
            R"({"responseData":{"translatedText":"[我的电脑坏了。]","engine":"microsoft"},)"
            R"("responseDetails":null,"responseStatus":200})");
}

TEST(UpstreamChunksTest, ALongTextGoesInChunksUnderTheLimitAndComesBackWithItsLineBreaks) {
  FakeUpstream libre;
  libre.SetCharLimit(12);
  EXPECT_EQ(LibreTranslateEngine(libre.Url()).Translate("一二三四五六七八九十。\n\n一二三。", "zh", "en"),
            "[一二三四五六七八九十。]\n\n[一二三。]");
  EXPECT_EQ(libre.Requests("POST /translate").size(), 2u);

  const auto chunks = [](std::string_view text, std::size_t maxChars) {
    std::vector<std::string> pieces;
    for (const TextPiece& piece : SplitForUpstream(text, maxChars)) {
      pieces.push_back((piece.translate ? "+" : "_") + std::string(piece.text));
    }
    return pieces;
  };
  EXPECT_EQ(chunks("alpha beta. gamma", 10), (std::vector<std::string>{"+alpha", "_ ", "+beta.", "_ ", "+gamma"}));
  EXPECT_EQ(chunks("alpha beta", 5), (std::vector<std::string>{"+alpha", "_ ", "+beta"}));
  EXPECT_EQ(chunks("天气很好", 3), (std::vector<std::string>{"+天气很", "+好"}));
  EXPECT_EQ(chunks("好。\n坏", 2), (std::vector<std::string>{"+好。", "_\n", "+坏"}));
}

TEST(ChineseVariantTest, TraditionalFormsMakeZhTwAndTheDictionaryReadsThem) {
  for (const auto& [text, language] : std::vector<std::pair<std::string, std::string>>{
           {"你好，世界", "zh-CN"}, {"我们", "zh-CN"}, {"这是一个测试", "zh-CN"}, {"人口", "zh-CN"},
           {"你好 hi 世界", "zh-CN"}, {"這是一個測試", "zh-TW"}, {"說話", "zh-TW"}, {"你們好", "zh-TW"},
           {std::string("說話\0x", 5), "zh-TW"}, {"12345", ""}}) {
    EXPECT_EQ(DetectLanguage(text).language, language) << text;
  }
  DictionaryEngine& dictionary = testing::RealDictionaryEngine();
  EXPECT_EQ(dictionary.Translate("我的電腦壞了。", "zh", "en"), dictionary.Translate("我的电脑坏了。", "zh", "en"));
  EXPECT_EQ(dictionary.Translate("說話", "zh-TW", "zh-CN"), "说话") << "Chinese output is Simplified";
}

}  // namespace
}  // namespace parlavo::server
