#include <gtest/gtest.h>

#include <mutex>
#include <nlohmann/json.hpp>

#include "engines/libretranslate_engine.h"
#include "loopback_server.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

using nlohmann::json;

// A LibreTranslate stand-in on 127.0.0.1 that records requests and answers
// what the test sets.
class FakeLibreTranslate {
 public:
  FakeLibreTranslate() {
    m_server.server().Get("/frontend/settings", [this](const httplib::Request&, httplib::Response& response) {
      std::lock_guard lock(m_mutex);
      response.set_content(json{{"charLimit", m_charLimit}, {"language", json::object()}}.dump(), "application/json");
    });
    m_server.server().Post("/translate", [this](const httplib::Request& request, httplib::Response& response) {
      std::lock_guard lock(m_mutex);
      m_requests.push_back(json::parse(request.body, nullptr, false));
      m_contentTypes.push_back(request.get_header_value("Content-Type"));
      response.status = m_status;
      response.set_content(m_reply, "application/json");
    });
    m_server.Start();
  }
  void Answer(int status, std::string reply) {
    std::lock_guard lock(m_mutex);
    m_status = status;
    m_reply = std::move(reply);
  }
  void SetCharLimit(int limit) {
    std::lock_guard lock(m_mutex);
    m_charLimit = limit;
  }
  std::vector<std::string> Queries() const {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> queries;
    for (const json& request : m_requests) queries.push_back(request.value("q", ""));
    return queries;
  }
  json LastRequest() const {
    std::lock_guard lock(m_mutex);
    return m_requests.empty() ? json() : m_requests.back();
  }
  std::string LastContentType() const {
    std::lock_guard lock(m_mutex);
    return m_contentTypes.empty() ? std::string() : m_contentTypes.back();
  }
  std::string Url() const { return m_server.Url(); }

 private:
  mutable std::mutex m_mutex;
  int m_status = 200;
  int m_charLimit = -1;  // LibreTranslate's "no limit"
  std::string m_reply;
  std::vector<json> m_requests;
  std::vector<std::string> m_contentTypes;
  parlavo::testing::LoopbackServer m_server;
};

UpstreamLimits ShortLimits() {
  UpstreamLimits limits;
  limits.connectTimeout = std::chrono::seconds(2);
  limits.totalTimeout = std::chrono::milliseconds(300);
  return limits;
}

class LibreTranslateEngineTest : public ::testing::Test {
 protected:
  FakeLibreTranslate m_fake;
  LibreTranslateEngine m_engine{m_fake.Url() + "/", ShortLimits()};
};

TEST_F(LibreTranslateEngineTest, TranslatesThroughPostTranslate) {
  m_fake.Answer(200, R"({"translatedText":"Hello"})");
  EXPECT_EQ(m_engine.Translate("你好", "zh-CN", "en"), "Hello");
  EXPECT_EQ(m_fake.LastContentType(), "application/json");
  EXPECT_EQ(m_fake.LastRequest(), (json{{"q", "你好"}, {"source", "zh"}, {"target", "en"}, {"format", "text"}}));

  m_engine.Translate("hello", "", "zh");
  EXPECT_EQ(m_fake.LastRequest()["source"], "auto") << "an empty source is LibreTranslate's auto";
  EXPECT_EQ(m_fake.LastRequest()["target"], "zh");
  m_engine.Translate("你們好", "zh-TW", "EN");
  EXPECT_EQ(m_fake.LastRequest()["source"], "zh");
  EXPECT_EQ(m_fake.LastRequest()["target"], "en");
}

TEST_F(LibreTranslateEngineTest, KeepsEachRequestWithinTheServersCharacterLimit) {
  m_fake.Answer(200, R"({"translatedText":"x"})");
  m_fake.SetCharLimit(12);
  EXPECT_EQ(m_engine.Translate("一二三四五六七八九十。\n一二三。", "zh", "en"), "x\nx");
  EXPECT_EQ(m_fake.Queries(), (std::vector<std::string>{"一二三四五六七八九十。", "一二三。"}));
}

std::string FailureOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const UpstreamRejection& error) {
    return std::string("rejected: ") + error.what();
  } catch (const UpstreamError& error) {
    return std::string("failed: ") + error.what();
  }
  return "no failure";
}

TEST_F(LibreTranslateEngineTest, MapsItsErrorsIntoReasons) {
  const auto translate = [&] { m_engine.Translate("hi", "en", "xx"); };
  m_fake.Answer(400, R"({"error":"xx is not supported"})");
  EXPECT_EQ(FailureOf(translate), "rejected: LibreTranslate 拒绝了请求：xx is not supported");
  m_fake.Answer(429, R"({"error":"Too many requests"})");
  EXPECT_EQ(FailureOf(translate), "failed: LibreTranslate 限制了请求频率（HTTP 429）：Too many requests");
  m_fake.Answer(403, R"({"error":"Invalid API key"})");
  EXPECT_NE(FailureOf(translate).find("API 密钥"), std::string::npos);
  m_fake.Answer(500, R"({"error":"boom"})");
  EXPECT_EQ(FailureOf(translate), "failed: LibreTranslate 出错（HTTP 500）：boom");
  m_fake.Answer(502, "<html>bad gateway</html>");
  EXPECT_EQ(FailureOf(translate), "failed: LibreTranslate 出错（HTTP 502）");
  m_fake.Answer(200, "not json");
  EXPECT_EQ(FailureOf(translate), "failed: LibreTranslate 的回复无法识别");
  m_fake.Answer(200, R"({"translated":"x"})");
  EXPECT_EQ(FailureOf(translate), "failed: LibreTranslate 的回复中没有译文");
}

TEST(LibreTranslateUnreachableTest, SaysTheServerCannotBeReached) {
  std::string url;
  {
    parlavo::testing::LoopbackServer gone;
    gone.Start();
    url = gone.Url();
  }
  LibreTranslateEngine engine(url, ShortLimits());
  const std::string failure = FailureOf([&] { engine.Translate("hi", "en", "zh"); });
  EXPECT_TRUE(failure.starts_with("failed: 无法连接 LibreTranslate（" + url.substr(7) + "）：")) << failure;
}

TEST(LibreTranslateSilentTest, GivesUpWithinItsTimeLimit) {
  parlavo::testing::LoopbackServer silent;
  silent.server().Post("/translate", [](const httplib::Request&, httplib::Response& response) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    response.set_content(R"({"translatedText":"late"})", "application/json");
  });
  silent.Start();
  LibreTranslateEngine engine(silent.Url(), ShortLimits());
  const std::string failure = FailureOf([&] { engine.Translate("hi", "en", "zh"); });
  EXPECT_NE(failure.find("超时"), std::string::npos) << failure;
}

TEST(LibreTranslateServiceTest, TheServiceCarriesResultsAndFailuresInTheEnvelope) {
  FakeLibreTranslate fake;
  LibreTranslateEngine engine(fake.Url(), ShortLimits());
  testing::RunningService service(engine);
  httplib::Client client = service.Client();
  const std::string translate = "/ajax/services/language/translate?v=1.0&q=" + testing::EncodeEveryByte("你好");

  fake.Answer(200, R"({"translatedText":"Hello"})");
  auto result = client.Get((translate + "&langpair=zh-CN|en").c_str());
  ASSERT_TRUE(result);
  EXPECT_EQ(result->body, R"({"responseData":{"translatedText":"Hello"},"responseDetails":null,"responseStatus":200})");

  fake.Answer(429, R"({"error":"Slow down"})");
  result = client.Get((translate + "&langpair=zh-CN|en").c_str());
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 502);
  EXPECT_EQ(result->body, R"({"responseData":null,"responseDetails":"LibreTranslate 限制了请求频率（HTTP 429）：)"
                          R"(Slow down","responseStatus":502})");

  fake.Answer(400, R"({"error":"xx is not supported"})");
  result = client.Get((translate + "&langpair=zh-CN|xx").c_str());
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 400);

}

}  // namespace
}  // namespace parlavo::server
