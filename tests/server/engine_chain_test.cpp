#include <gtest/gtest.h>

#include <atomic>

#include "engines/engine_chain.h"
#include "engines/google_engine.h"
#include "engines/text_chunks.h"
#include "fake_google.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

using testing::FakeGoogle;

// Google at `url`, counting its translations, then the real dictionary; the
// chain's log kept.
class GoogleThenDictionary {
 public:
  explicit GoogleThenDictionary(const std::string& url, std::chrono::seconds coolDown = EngineChain::kCoolDown) {
    std::vector<EngineChain::Link> links;
    links.push_back({"google", "Google 翻译", true, std::make_unique<CountedGoogle>(url, googleCalls)});
    links.push_back({"dictionary", "离线词典", false,
                     std::make_unique<DictionaryEngine>(DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX))});
    chain = std::make_unique<EngineChain>(std::move(links), coolDown, [this](const std::string& line) {
      log.push_back(line);
    });
  }

  std::atomic<int> googleCalls{0};
  std::vector<std::string> log;
  std::unique_ptr<EngineChain> chain;

 private:
  struct CountedGoogle : GoogleEngine {
    CountedGoogle(const std::string& url, std::atomic<int>& calls) : GoogleEngine(url), calls(calls) {}
    std::string Translate(const std::string& text, const std::string& source, const std::string& target) override {
      ++calls;
      return GoogleEngine::Translate(text, source, target);
    }
    std::atomic<int>& calls;
  };
};

const std::string kSentence = "我的电脑坏了。";

TEST(EngineChainTest, ARefusedUpstreamHandsOverToTheDictionaryAndIsThenPassedOver) {
  GoogleThenDictionary engines(parlavo::testing::RefusingProxyUrl());
  const std::string dictionary = testing::RealDictionaryEngine().Translate(kSentence, "zh", "en");
  for (int request = 1; request <= 2; ++request) {
    const Translation answer = engines.chain->Answer(kSentence, "zh", "en");
    EXPECT_EQ(answer.text, dictionary);
    EXPECT_EQ(answer.engine, "dictionary");
    EXPECT_TRUE(answer.details.starts_with("无法连接 Google 翻译（127.0.0.1:")) << answer.details;
    EXPECT_TRUE(answer.details.ends_with("，已改用离线词典")) << answer.details;
  }
  EXPECT_EQ(engines.googleCalls, 1) << "the second request did not wait on the failed engine";
  ASSERT_EQ(engines.log.size(), 1u) << "one line per cool-down";
  EXPECT_NE(engines.log.front().find("60 秒内改用下一个翻译引擎"), std::string::npos) << engines.log.front();
}

TEST(EngineChainTest, AnEngineIsTriedAgainAfterItsCoolDownAndARejectionStartsNone) {
  FakeGoogle fake;
  GoogleThenDictionary engines(fake.Url(), std::chrono::seconds(0));
  fake.Answer(503, "");
  EXPECT_EQ(engines.chain->Answer(kSentence, "zh", "en").details, "Google 翻译出错（HTTP 503），已改用离线词典");
  fake.Answer(200, R"([[["My computer is broken."]]])");
  EXPECT_EQ(engines.chain->Answer(kSentence, "zh", "en").text, "My computer is broken.");

  GoogleThenDictionary rejecting(fake.Url());
  fake.Answer(400, "");
  EXPECT_EQ(rejecting.chain->Answer(kSentence, "zh", "en").engine, "dictionary");
  EXPECT_EQ(rejecting.chain->Answer(kSentence, "zh", "en").engine, "dictionary");
  EXPECT_EQ(rejecting.googleCalls, 2) << "a refused request says nothing about the next one";
  EXPECT_TRUE(rejecting.log.empty());
}

TEST(EngineChainTest, TheLastEnginesFailureIsTheReply) {
  FakeGoogle fake;
  GoogleThenDictionary engines(fake.Url());
  fake.Answer(429, "");
  EXPECT_THROW(engines.chain->Answer("hello", "en", "fr"), UnsupportedLanguagePair);
  EXPECT_THROW(engines.chain->Answer("hello", "en", "fr"), UnsupportedLanguagePair);
  EXPECT_EQ(fake.requests(), 1);
}

TEST(EngineChainServiceTest, TheEnvelopeSaysWhichEngineAnsweredAndWhy) {
  FakeGoogle fake;
  GoogleThenDictionary engines(fake.Url());
  testing::RunningService service(*engines.chain);
  httplib::Client client = service.Client();
  const std::string translate = "/ajax/services/language/translate?v=1.0&langpair=zh|en&q=" +
                                testing::EncodeEveryByte(kSentence);

  fake.Answer(200, R"([[["My computer is broken."]]])");
  auto result = client.Get(translate.c_str());
  ASSERT_TRUE(result);
  EXPECT_EQ(result->body, R"({"responseData":{"translatedText":"My computer is broken.","engine":"google"},)"
                          R"("responseDetails":null,"responseStatus":200})");

  fake.Answer(429, "");
  result = client.Get(translate.c_str());
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_NE(result->body.find(R"(,"engine":"dictionary"},"responseDetails":"Google 翻译限制了请求频率（HTTP 429），)"
                              R"(已改用离线词典","responseStatus":200})"),
            std::string::npos)
      << result->body;
}

TEST(TextChunksTest, CutsAtWordsAndCharactersWhenNothingBetterFits) {
  const auto chunks = [](std::string_view text, std::size_t maxChars) {
    std::vector<std::string> pieces;
    for (const TextPiece& piece : SplitForUpstream(text, maxChars)) {
      pieces.push_back((piece.translate ? "+" : "_") + std::string(piece.text));
    }
    return pieces;
  };
  EXPECT_EQ(chunks("alpha beta gamma. delta epsilon", 14),
            (std::vector<std::string>{"+alpha beta", "_ ", "+gamma.", "_ ", "+delta epsilon"}));
  EXPECT_EQ(chunks("pi=3.14159 e=2.71828", 14), (std::vector<std::string>{"+pi=3.14159", "_ ", "+e=2.71828"}));
  EXPECT_EQ(chunks("ééééé", 2), (std::vector<std::string>{"+éé", "+éé", "+é"})) << "a word longer than a chunk";
  EXPECT_EQ(chunks("天气很好", 3), (std::vector<std::string>{"+天气很", "+好"}));

  int sent = 0;
  const auto count = [&](const std::string& chunk) { return ++sent, chunk; };
  EXPECT_THROW(TranslateInChunks("One. Two.", 4, std::chrono::milliseconds(0), count), UpstreamError);
  EXPECT_EQ(sent, 1) << "past its time limit, no further chunk is sent";
}

}  // namespace
}  // namespace parlavo::server
