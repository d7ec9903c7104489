#include <gtest/gtest.h>

#include <map>

#include "engines/google_engine.h"
#include "fake_google.h"
#include "text/utf8.h"

namespace parlavo::server {
namespace {

using testing::FakeGoogle;

UpstreamLimits ShortLimits() {
  UpstreamLimits limits;
  limits.totalTimeout = std::chrono::seconds(2);
  return limits;
}

class GoogleEngineTest : public ::testing::Test {
 protected:
  std::string Parameter(const std::string& name) const { return m_fake.LastParameters().find(name)->second; }

  FakeGoogle m_fake;
  GoogleEngine m_engine{m_fake.Url(), ShortLimits()};
};

TEST_F(GoogleEngineTest, AsksTheWebEndpointAndJoinsTheSegments) {
  m_fake.Answer(200, R"([[["Hello. ","你好。",null,null,10],["World & more?","世界？",null,null,3]],null,"zh-CN"])");
  EXPECT_EQ(m_engine.Translate("你好。世界 & more？", "zh-CN", "en"), "Hello. World & more?");
  EXPECT_EQ(m_fake.LastParameters(), (std::multimap<std::string, std::string>{
                                         {"client", "gtx"}, {"sl", "zh-CN"}, {"tl", "en"}, {"dt", "t"},
                                         {"q", "你好。世界 & more？"}}));
}

TEST_F(GoogleEngineTest, UsesGooglesLanguageCodes) {
  m_fake.Answer(200, R"([[["你好","hello"]],null,"en"])");
  EXPECT_EQ(m_engine.Translate("hello", "", "zh"), "你好");
  EXPECT_EQ(Parameter("sl"), "auto");
  EXPECT_EQ(Parameter("tl"), "zh-CN");
  m_engine.Translate("hello", "en", "zh-TW");
  EXPECT_EQ(Parameter("tl"), "zh-TW");
  m_engine.Translate("hallo", "de", "en");
  EXPECT_EQ(Parameter("sl"), "de");
}

TEST_F(GoogleEngineTest, DetectsLocallyAndSkipsEmptyText) {
  EXPECT_EQ(m_engine.Detect("How are you today? The weather is lovely.").language, "en");
  EXPECT_EQ(m_engine.Translate("", "en", "zh"), "");
  EXPECT_EQ(m_engine.Translate(" \n", "en", "zh"), " \n");
  EXPECT_EQ(m_fake.requests(), 0);
}

TEST_F(GoogleEngineTest, SendsALongTextInChunksOfWholeSentencesAndJoinsItsLines) {
  std::string sentences;
  while (CountCodePoints(sentences) < 7000) sentences += "今天天气很好，我们去公园。";
  const std::string text = "\n第一段。\n\n" + sentences + "\r\n  最后一段。 \n";
  const std::string translation = m_engine.Translate(text, "zh", "en");
  const auto queries = m_fake.Queries();
  ASSERT_GE(queries.size(), 3u);
  for (const std::string& query : queries) {
    EXPECT_LE(CountCodePoints(query), GoogleEngine::kMaxChunkChars);
    EXPECT_TRUE(query.ends_with("。")) << "cut inside a sentence: ..." << query.substr(query.size() - 12);
  }
  std::string joined;
  for (char c : translation) {
    if (c != '<' && c != '>') joined += c;
  }
  EXPECT_EQ(joined, text) << "the chunks in order, every blank and line break where it was";
  EXPECT_TRUE(translation.starts_with("\n<第一段。>\n\n<")) << translation.substr(0, 40);
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
  EXPECT_EQ(FailureOf(m_engine), "failed: Google 翻译限制了请求频率（HTTP 429）");
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

}  // namespace
}  // namespace parlavo::server
