#include <gtest/gtest.h>

#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>

#include "detection/language_detector.h"
#include "engines/engine_chain.h"
#include "engines/google_engine.h"
#include "engines/libretranslate_engine.h"
#include "engines/text_chunks.h"
#include "loopback_server.h"
#include "service_fixture.h"

// The online engines and the chain against one fake upstream on 127.0.0.1,
// and the Simplified/Traditional decision.
namespace parlavo::server {
namespace {

// Google's web endpoint and a LibreTranslate server in one, on 127.0.0.1.
// Answers what the test sets; LibreTranslate by default "<q>" for each q, so
// that chunks show.
class FakeUpstream {
 public:
  FakeUpstream() {
    m_server.server().Post("/translate_a/single", [this](const httplib::Request& request, httplib::Response& response) {
      Reply(request.body, "", response);
    });
    m_server.server().Post("/translate", [this](const httplib::Request& request, httplib::Response& response) {
      const std::string query = nlohmann::json::parse(request.body, nullptr, false).value("q", "");
      Reply(query, nlohmann::json{{"translatedText", "<" + query + ">"}}.dump(), response);
    });
    m_server.server().Get("/frontend/settings", [this](const httplib::Request&, httplib::Response& response) {
      std::lock_guard lock(m_mutex);
      response.set_content(nlohmann::json{{"charLimit", m_charLimit}}.dump(), "application/json");
    });
    m_server.Start();
  }
  void Answer(int status, std::string reply) {
    std::lock_guard lock(m_mutex);
    m_status = status;
    m_reply = std::move(reply);
  }
  void SetCharLimit(int limit) {  // LibreTranslate's /frontend/settings
    std::lock_guard lock(m_mutex);
    m_charLimit = limit;
  }
  // LibreTranslate's q, Google's whole form.
  std::vector<std::string> Queries() const {
    std::lock_guard lock(m_mutex);
    return m_queries;
  }
  std::string Url() const { return m_server.Url(); }

 private:
  void Reply(const std::string& query, const std::string& echo, httplib::Response& response) {
    std::lock_guard lock(m_mutex);
    m_queries.push_back(query);
    response.status = m_status;
    response.set_content(m_reply.value_or(echo), "application/json; charset=UTF-8");
  }

  mutable std::mutex m_mutex;
  int m_status = 200, m_charLimit = -1;
  std::optional<std::string> m_reply;
  std::vector<std::string> m_queries;
  parlavo::testing::LoopbackServer m_server;
};

const std::string kSentence = "我的电脑坏了。";

// Google at `url`, then the real dictionary; the chain's log kept.
struct GoogleThenDictionary {
  explicit GoogleThenDictionary(const std::string& url, std::chrono::seconds coolDown = EngineChain::kCoolDown) {
    std::vector<EngineChain::Link> links;
    links.push_back({"google", "Google 翻译", true, std::make_unique<GoogleEngine>(url)});
    links.push_back({"dictionary", "离线词典", false,
                     std::make_unique<DictionaryEngine>(DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX))});
    chain = std::make_unique<EngineChain>(std::move(links), coolDown, [this](const std::string& line) {
      log.push_back(line);
    });
  }
  std::vector<std::string> log;
  std::unique_ptr<EngineChain> chain;
};

TEST(EngineChainTest, AFailedUpstreamHandsOverToTheDictionaryAndIsThenPassedOver) {
  GoogleThenDictionary refused(parlavo::testing::RefusingProxyUrl());
  const Translation answer = refused.chain->Answer(kSentence, "zh", "en");
  EXPECT_EQ(answer.text, testing::RealDictionaryEngine().Translate(kSentence, "zh", "en"));
  EXPECT_EQ(answer.engine, "dictionary");
  EXPECT_NE(answer.details.find("127.0.0.1:"), std::string::npos) << answer.details;

  FakeUpstream fake;
  GoogleThenDictionary failing(fake.Url());
  fake.Answer(503, "");
  for (int request = 1; request <= 2; ++request) {
    EXPECT_EQ(failing.chain->Answer(kSentence, "zh", "en").engine, "dictionary");
  }
  EXPECT_EQ(fake.Queries().size(), 1u) << "the second request did not wait on the failed engine";
  EXPECT_EQ(failing.log.size(), 1u) << "one line per cool-down";
}

TEST(EngineChainTest, TheEnvelopeSaysWhichEngineAnsweredAndWhy) {
  FakeUpstream fake;
  GoogleThenDictionary engines(fake.Url());
  testing::RunningService service(*engines.chain);
  const std::string translate =
      "/ajax/services/language/translate?v=1.0&langpair=zh|en&q=" + PercentEncodeEveryByte(kSentence);

  fake.Answer(200, R"([[["My computer ",""],["is broken.",""]]])");
  EXPECT_EQ(testing::BodyOf(testing::Get(service.port(), translate)),
            R"({"responseData":{"translatedText":"My computer is broken.","engine":"google"},)"
            R"("responseDetails":null,"responseStatus":200})");
  fake.Answer(429, "");
  const std::string reply = testing::BodyOf(testing::Get(service.port(), translate));
  EXPECT_NE(reply.find(R"(,"engine":"dictionary"},"responseDetails":")"), std::string::npos) << reply;
  EXPECT_NE(reply.find("429"), std::string::npos) << reply;
}

TEST(EngineChainTest, AnEngineIsTriedAgainAfterItsCoolDownAndARejectionStartsNone) {
  FakeUpstream fake;
  GoogleThenDictionary engines(fake.Url(), std::chrono::seconds(0));
  fake.Answer(503, "");
  EXPECT_EQ(engines.chain->Answer(kSentence, "zh", "en").engine, "dictionary");
  fake.Answer(200, R"([[["My computer is broken."]]])");
  EXPECT_EQ(engines.chain->Answer(kSentence, "zh", "en").engine, "google");

  GoogleThenDictionary rejecting(fake.Url());
  fake.Answer(400, "");
  EXPECT_EQ(rejecting.chain->Answer(kSentence, "zh", "en").engine, "dictionary");
  EXPECT_EQ(rejecting.chain->Answer(kSentence, "zh", "en").engine, "dictionary");
  EXPECT_EQ(fake.Queries().size(), 4u) << "a refused request says nothing about the next one";
  EXPECT_THROW(rejecting.chain->Answer("hello", "en", "fr"), UnsupportedLanguagePair) << "the last engine's failure";
}

TEST(UpstreamChunksTest, ALongTextGoesInChunksUnderTheLimitAndComesBackWithItsLineBreaks) {
  FakeUpstream libre;
  libre.SetCharLimit(12);
  EXPECT_EQ(LibreTranslateEngine(libre.Url()).Translate("一二三四五六七八九十。\n\n一二三。", "zh", "en"),
            "<一二三四五六七八九十。>\n\n<一二三。>");
  EXPECT_EQ(libre.Queries(), (std::vector<std::string>{"一二三四五六七八九十。", "一二三。"}));

  const auto chunks = [](std::string_view text, std::size_t maxChars) {
    std::vector<std::string> pieces;
    for (const TextPiece& piece : SplitForUpstream(text, maxChars)) {
      pieces.push_back((piece.translate ? "+" : "_") + std::string(piece.text));
    }
    return pieces;
  };
  EXPECT_EQ(chunks("alpha beta. gamma", 10), (std::vector<std::string>{"+alpha", "_ ", "+beta.", "_ ", "+gamma"}));
  EXPECT_EQ(chunks("天气很好", 3), (std::vector<std::string>{"+天气很", "+好"}));
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
