#include <gtest/gtest.h>

#include "http/envelope.h"
#include "http/query_string.h"
#include "http/request_target.h"

namespace parlavo::server {
namespace {

TEST(PercentDecodeTest, DecodesEscapesOfEitherCase) {
  EXPECT_EQ(PercentDecode("%68%69"), "hi");
  EXPECT_EQ(PercentDecode("%E4%bd%A0"), "你");
  EXPECT_EQ(PercentDecode("a+b%2B"), "a b+");
  EXPECT_EQ(PercentDecode("%00"), std::string(1, '\0'));
  EXPECT_EQ(PercentDecode("|"), "|");
  for (const char* bad : {"%", "%4", "%zz", "%4g", "ab%"}) EXPECT_EQ(PercentDecode(bad), std::nullopt) << bad;
}

TEST(ParseQueryTest, SplitsParameters) {
  const auto parameters = ParseQuery("v=1.0&q=%68%69&langpair=en|zh&&flag&q=second");
  ASSERT_TRUE(parameters);
  EXPECT_EQ(parameters->at("v"), "1.0");
  EXPECT_EQ(parameters->at("q"), "hi") << "the first of repeated names counts";
  EXPECT_EQ(parameters->at("langpair"), "en|zh");
  EXPECT_EQ(parameters->at("flag"), "");
  EXPECT_EQ(parameters->size(), 4u);
  EXPECT_EQ(ParseQuery("q=%zz"), std::nullopt);
  EXPECT_TRUE(ParseQuery("")->empty());
}

TEST(RequestTargetTest, AcceptsOriginAndAbsoluteForm) {
  auto target = ParseRequestTarget("/ajax/services/language/detect?v=1.0&q=%68%69");
  ASSERT_TRUE(target);
  EXPECT_EQ(target->authority, "");
  EXPECT_EQ(target->path, "/ajax/services/language/detect");
  EXPECT_EQ(target->query, "v=1.0&q=%68%69");

  target = ParseRequestTarget("http://127.0.0.1:8765/ajax/services/language/translate?q=a&langpair=|zh");
  ASSERT_TRUE(target);
  EXPECT_EQ(target->authority, "127.0.0.1:8765");
  EXPECT_EQ(target->path, "/ajax/services/language/translate");
  EXPECT_EQ(target->query, "q=a&langpair=|zh");

  target = ParseRequestTarget("HTTP://localhost?x=1");
  ASSERT_TRUE(target);
  EXPECT_EQ(target->authority, "localhost");
  EXPECT_EQ(target->path, "/");
  EXPECT_EQ(target->query, "x=1");

  for (const char* bad : {"*", "127.0.0.1:8765", "", "https://127.0.0.1/x", "http:///x", "ajax/x"}) {
    EXPECT_EQ(ParseRequestTarget(bad), std::nullopt) << bad;
  }
}

TEST(RequestTargetTest, HostNamesLoseTheirPort) {
  EXPECT_EQ(HostName("127.0.0.1:8765"), "127.0.0.1");
  EXPECT_EQ(HostName("LocalHost"), "localhost");
  EXPECT_EQ(HostName("[::1]:8765"), "::1");
  EXPECT_EQ(HostName("user@evil.example:80"), "evil.example");
  EXPECT_EQ(HostName(""), "");
}

TEST(RequestTargetTest, OnlyTheListenAddressAndLocalhostAreAllowed) {
  EXPECT_TRUE(IsAllowedHost("127.0.0.1", "127.0.0.1"));
  EXPECT_TRUE(IsAllowedHost("localhost", "127.0.0.1"));
  EXPECT_TRUE(IsAllowedHost("::1", "::1"));
  EXPECT_FALSE(IsAllowedHost("127.0.0.1.evil.example", "127.0.0.1"));
  EXPECT_FALSE(IsAllowedHost("evil.example", "127.0.0.1"));
  EXPECT_FALSE(IsAllowedHost("127.0.0.2", "127.0.0.1"));
  EXPECT_FALSE(IsAllowedHost("", "127.0.0.1"));
}

TEST(EnvelopeTest, IsCompactWithTheApiMemberOrder) {
  EXPECT_EQ(DetectionEnvelope({"zh-CN", true, 0.75}),
            R"({"responseData":{"language":"zh-CN","isReliable":true,"confidence":0.75},)"
            R"("responseDetails":null,"responseStatus":200})");
  EXPECT_EQ(TranslationEnvelope("你好"),
            R"({"responseData":{"translatedText":"你好"},"responseDetails":null,"responseStatus":200})");
  EXPECT_EQ(ErrorEnvelope(400, "缺少参数 q"),
            R"({"responseData":null,"responseDetails":"缺少参数 q","responseStatus":400})");
}

TEST(EnvelopeTest, EscapesWhatJsonMustAndRepairsBrokenText) {
  EXPECT_EQ(TranslationEnvelope("say \"hi\"\n\\"),
            R"({"responseData":{"translatedText":"say \"hi\"\n\\"},"responseDetails":null,"responseStatus":200})");
  EXPECT_EQ(TranslationEnvelope("a\xFF" "b"),
            "{\"responseData\":{\"translatedText\":\"a\xEF\xBF\xBD" "b\"},\"responseDetails\":null,\"responseStatus\":200}");
}

}  // namespace
}  // namespace parlavo::server
