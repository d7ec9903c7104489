#include <gtest/gtest.h>

#include <map>
#include <mutex>

#include "engines/google_engine.h"
#include "loopback_server.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

// Google's web endpoint stood in for on 127.0.0.1: the engine takes its base
// address as a parameter, the real one being https.
class FakeGoogle {
 public:
  FakeGoogle() {
    m_server.server().Get("/translate_a/single", [this](const httplib::Request& request, httplib::Response& response) {
      std::lock_guard lock(m_mutex);
      m_parameters.clear();
      for (const auto& [name, value] : request.params) m_parameters[name] = value;
      ++m_requests;
      response.status = m_status;
      response.set_content(m_reply, "application/json; charset=UTF-8");
    });
    m_server.Start();
  }
  void Answer(int status, std::string reply) {
    std::lock_guard lock(m_mutex);
    m_status = status;
    m_reply = std::move(reply);
  }
  std::map<std::string, std::string> LastParameters() const {
    std::lock_guard lock(m_mutex);
    return m_parameters;
  }
  int requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
  }
  std::string Url() const { return m_server.Url(); }

 private:
  mutable std::mutex m_mutex;
  int m_status = 200;
  std::string m_reply;
  std::map<std::string, std::string> m_parameters;
  int m_requests = 0;
  parlavo::testing::LoopbackServer m_server;
};

UpstreamLimits ShortLimits() {
  UpstreamLimits limits;
  limits.totalTimeout = std::chrono::seconds(2);
  return limits;
}

class GoogleEngineTest : public ::testing::Test {
 protected:
  FakeGoogle m_fake;
  GoogleEngine m_engine{m_fake.Url(), ShortLimits()};
};

TEST_F(GoogleEngineTest, AsksTheWebEndpointAndJoinsTheSegments) {
  m_fake.Answer(200, R"([[["Hello. ","你好。",null,null,10],["World & more?","世界？",null,null,3]],null,"zh-CN"])");
  EXPECT_EQ(m_engine.Translate("你好。世界 & more？", "zh-CN", "en"), "Hello. World & more?");
  EXPECT_EQ(m_fake.LastParameters(), (std::map<std::string, std::string>{
                                         {"client", "gtx"}, {"sl", "zh-CN"}, {"tl", "en"}, {"dt", "t"},
                                         {"q", "你好。世界 & more？"}}));
}

TEST_F(GoogleEngineTest, UsesGooglesLanguageCodes) {
  m_fake.Answer(200, R"([[["你好","hello"]],null,"en"])");
  EXPECT_EQ(m_engine.Translate("hello", "", "zh"), "你好");
  EXPECT_EQ(m_fake.LastParameters()["sl"], "auto");
  EXPECT_EQ(m_fake.LastParameters()["tl"], "zh-CN");
  m_engine.Translate("hello", "en", "zh-TW");
  EXPECT_EQ(m_fake.LastParameters()["tl"], "zh-TW");
  m_engine.Translate("hallo", "de", "en");
  EXPECT_EQ(m_fake.LastParameters()["sl"], "de");
}

TEST_F(GoogleEngineTest, DetectsLocallyAndSkipsEmptyText) {
  EXPECT_EQ(m_engine.Detect("How are you today? The weather is lovely.").language, "en");
  EXPECT_EQ(m_engine.Translate("", "en", "zh"), "");
  EXPECT_EQ(m_fake.requests(), 0);
}

std::string FailureOf(GoogleEngine& engine) {
  try {
    engine.Translate("hello", "en", "zh");
  } catch (const UpstreamRejection& error) {
    return std::string("rejected: ") + error.what();
  } catch (const UpstreamError& error) {
    return std::string("failed: ") + error.what();
  }
  return "no failure";
}

TEST_F(GoogleEngineTest, RateLimitsAndBlocksAreExplainedNeverEmpty) {
  m_fake.Answer(429, "<html>Our systems have detected unusual traffic</html>");
  EXPECT_EQ(FailureOf(m_engine),
            "failed: Google 翻译限制了请求频率（HTTP 429）：请求过于频繁，请稍后再试，或改用其他翻译引擎");
  m_fake.Answer(403, "<html>Forbidden</html>");
  EXPECT_NE(FailureOf(m_engine).find("封锁"), std::string::npos);
  m_fake.Answer(302, "");
  EXPECT_NE(FailureOf(m_engine).find("HTTP 302"), std::string::npos);
  m_fake.Answer(400, "");
  EXPECT_TRUE(FailureOf(m_engine).starts_with("rejected: Google 翻译拒绝了请求（HTTP 400）"));
  m_fake.Answer(503, "");
  EXPECT_EQ(FailureOf(m_engine), "failed: Google 翻译出错（HTTP 503）");
  m_fake.Answer(200, "<html>captcha</html>");
  EXPECT_EQ(FailureOf(m_engine), "failed: Google 翻译的回复无法识别");
  m_fake.Answer(200, R"([null,null,"en"])");
  EXPECT_EQ(FailureOf(m_engine), "failed: Google 翻译没有返回译文");
  m_fake.Answer(200, R"([[[""]],null,"en"])");
  EXPECT_EQ(FailureOf(m_engine), "failed: Google 翻译没有返回译文");
  m_fake.Answer(200, R"({"sentences":[]})");
  EXPECT_EQ(FailureOf(m_engine), "failed: Google 翻译的回复无法识别");
}

TEST(GoogleServiceTest, ARateLimitReachesTheClientAsA502Envelope) {
  FakeGoogle fake;
  GoogleEngine engine(fake.Url(), ShortLimits());
  testing::RunningService service(engine);
  httplib::Client client = service.Client();
  fake.Answer(429, "");
  const auto result = client.Get("/ajax/services/language/translate?v=1.0&q=%68%69&langpair=en|zh");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 502);
  EXPECT_TRUE(result->body.starts_with(R"({"responseData":null,"responseDetails":"Google 翻译限制了请求频率（HTTP 429）)"))
      << result->body;
  EXPECT_TRUE(result->body.ends_with(R"(","responseStatus":502})"));
}

}  // namespace
}  // namespace parlavo::server
