// The client's wire format: what it asks the service, and how it reads the
// replies.
#include <gtest/gtest.h>

#include <random>

#include "loopback_server.h"
#include "services/translation_client.h"
#include "services/translation_status.h"
#include "short_limits.h"
#include "net/text_encoding.h"
#include "text/utf8.h"

namespace parlavo {
namespace {

using testing::LoopbackServer;
using testing::ProxyRoute;
using testing::ScopedLocale;
using testing::ShortLimits;

const std::string kDetectPrefix = std::string("http://") + SERVICE_HOST + "/ajax/services/language/detect?v=1.0&q=";
const std::string kTranslatePrefix =
    std::string("http://") + SERVICE_HOST + "/ajax/services/language/translate?v=1.0&q=";

Text Extracted(Text body, Text key) {
  ExtractField(body, key);
  return body;
}

TEST(ExtractFieldTest, CutsTheValueAfterTheKeyDecodingEscapes) {
  ScopedLocale locale("C.UTF-8");
  const std::pair<const char*, const char*> cases[] = {
      {R"({"language":"en"})", "en"},
      {R"({"t":"say \"hi\" now"})", "say \"hi\" now"},
      {R"({"t":"a\\b\/c\n\r\t\b\f"})", "a\\b/c\n\r\t\b\f"},
      {R"({"t":"\u4f60\u597D!\ud83d\ude00"})", "你好!😀"},
      {R"({"t":"\x\u12G4\ud83d.\ude00"})", R"(\x\u12G4\ud83d.\ude00)"},  // broken escapes stay
      {R"({"t":"ends\)", ""},  // an escaped quote does not close the value
      {R"({"t":"en)", ""},
      {R"({"t)", ""},
      {R"({"other":"en"})", ""},
  };
  for (const auto& [body, value] : cases) EXPECT_EQ(Extracted(body, body[2] == 'l' ? "language" : "t"), value) << body;
}

TEST(ExtractFieldTest, GbkValuesAreScannedByWholeCharacters) {
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  // 0x95 0x5C is one character whose trail byte is a backslash.
  EXPECT_EQ(Extracted("{\"t\":\"\x95\x5C\"}", "t"), "\x95\x5C");
  EXPECT_EQ(Extracted(R"({"t":"\u4f60"})", "t"), "\xC4\xE3") << "decoded into the code page";
  EXPECT_EQ(Extracted(R"({"t":"\ud83d\ude00"})", "t"), "?");
}

class TranslationTest : public ::testing::Test {
 protected:
  void Serve(std::string detectReply, std::string translateReply) {
    Reply(std::move(detectReply), std::move(translateReply));
    m_server.server().Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
      const bool detect = request.target.find("/detect?") != std::string::npos;
      std::lock_guard lock(m_mutex);
      response.set_content(detect ? m_detect : m_translate, "text/javascript");
    });
    m_server.Start();
    m_route = std::make_unique<ProxyRoute>(m_server);
    FillLanguageTable(m_table);
  }
  void Reply(std::string detectReply, std::string translateReply) {
    std::lock_guard lock(m_mutex);
    m_detect = std::move(detectReply);
    m_translate = std::move(translateReply);
  }
  std::vector<std::string> Targets() const { return m_server.Targets(); }

  std::mutex m_mutex;
  std::string m_detect, m_translate;
  LoopbackServer m_server;
  std::unique_ptr<ProxyRoute> m_route;
  LanguageTable m_table;
};

const std::string kEnglish = R"({"responseData":{"language":"en","isReliable":true},"responseStatus":200})";
const std::string kHello = R"({"responseData":{"translatedText":"你好"},"responseDetails":null,"responseStatus":200})";

TEST_F(TranslationTest, DetectsThenTranslatesIntoTheChosenLanguage) {
  ScopedLocale locale("C.UTF-8");
  Serve(kEnglish, kHello);
  EXPECT_EQ(TranslateForDisplay(m_table, "hi", "中文"), "你好");
  EXPECT_EQ(Targets(), (std::vector<std::string>{kDetectPrefix + "%68%69", kTranslatePrefix + "%68%69&langpair=en|zh"}));
}

TEST_F(TranslationTest, GbkLocaleSendsUtf8AndShowsGbk) {
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  Serve(R"({"responseData":{"language":"zh-CN"}})", kHello);
  EXPECT_EQ(TranslateForDisplay(m_table, "\xD6\xD0", "\xD3\xA2\xCE\xC4"), "\xC4\xE3\xBA\xC3");  // 中 to 英文: 你好
  EXPECT_EQ(Targets(), (std::vector<std::string>{kDetectPrefix + "%e4%b8%ad", kTranslatePrefix + "%e4%b8%ad&langpair=zh-CN|en"}));
}

TEST_F(TranslationTest, MissingDetectionStillTranslatesAndAnEmptyReplyShowsNothing) {
  ScopedLocale locale("C.UTF-8");
  Serve("", "");
  EXPECT_EQ(TranslateForDisplay(m_table, "", "英文"), "");
  EXPECT_EQ(Targets(), (std::vector<std::string>{kDetectPrefix, kTranslatePrefix + "&langpair=|en"}));
}

// 中英互译: text already in the chosen language goes into the other one.
TEST_F(TranslationTest, TextInTheChosenLanguageGoesIntoTheOther) {
  ScopedLocale locale("C.UTF-8");
  Serve("", kHello);
  const struct {
    const char* detected;
    const char* targetName;
    const char* languagePair;
  } cases[] = {
      {"en", "中文", "en|zh"},       {"en", "英文", "en|zh"},       {"EN", "英文", "EN|zh"},
      {"zh", "中文", "zh|en"},       {"zh-CN", "中文", "zh-CN|en"}, {"zh-TW", "中文", "zh-TW|en"},
      {"zh-CN", "英文", "zh-CN|en"}, {"ja", "中文", "ja|zh"},       {"ja", "英文", "ja|en"},
      {"enx", "英文", "enx|en"},     {"", "中文", "|zh"},           {"zh", "法文", "zh|"},
  };
  for (const auto& [detected, targetName, languagePair] : cases) {
    Reply(std::string(R"({"responseData":{"language":")") + detected + R"("}})", kHello);
    const Translation translation = Translate(m_table, "hi", targetName);
    EXPECT_EQ(Targets().back(), kTranslatePrefix + "%68%69&langpair=" + languagePair) << detected << targetName;
    EXPECT_EQ(translation.pair.source + "|" + translation.pair.target, languagePair);
  }
}

// The status line names the engine in Chinese and the direction taken, and
// says in a few words why a later engine answered.
TEST_F(TranslationTest, TheStatusLineNamesTheEngineTheDirectionAndWhy) {
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  const std::string chinese = R"({"responseData":{"language":"zh-CN"}})";
  const struct {
    std::string detectReply;
    std::string translateReply;
    const char* status;
  } cases[] = {
      {kEnglish, R"({"responseData":{"translatedText":"你好","engine":"microsoft"},"responseDetails":null})",
       "微软翻译：英文 → 中文"},
      {chinese, R"({"responseData":{"translatedText":"hi", "engine" : "transmart"}})", "腾讯交互翻译：中文 → 英文"},
      {kEnglish, R"({"responseData":{"translatedText":"engine","engine":"google"}})", "Google 翻译：英文 → 中文"},
      {kEnglish, R"({"responseData":{"translatedText":"\"engine\":\"x\"","engine":"libretranslate"}})",
       "LibreTranslate：英文 → 中文"},
      {R"({"responseData":{"language":"ja"}})",
       R"({"responseData":{"translatedText":"你好","engine":"dictionary"},"responseDetails":"在线翻译均无法连接"})",
       "离线词典（在线翻译均无法连接）：ja → 中文"},
      {kEnglish,
       R"({"responseData":{"translatedText":"你好","engine":"dictionary"},)"
       R"("responseDetails":"无法连接 Google 翻译（translate.googleapis.com）：超时，已改用离线词典"})",
       "离线词典（无法连接 Google 翻译（translate.googleapis.com））：英文 → 中文"},
      {kEnglish, R"({"responseData":{"translatedText":"你好","engine":"deepl中"}})", "deepl中：英文 → 中文"},
      {"", R"({"responseData":{"translatedText":"你好"}})", "未知语言 → 中文"},
  };
  Serve("", "");
  Text chineseName = "中文";
  Utf8ToAnsi(chineseName);
  for (const auto& [detectReply, translateReply, status] : cases) {
    Reply(detectReply, translateReply);
    EXPECT_EQ(DescribeTranslation(m_table, Translate(m_table, "hi", chineseName)), status) << translateReply;
  }
}

// A detect reply is the one reply whose content goes back out into an
// address: anything but a plain code is sent as no code at all.
TEST_F(TranslationTest, InjectedLanguageCodesNeverReachTheAddress) {
  ScopedLocale locale("C.UTF-8");
  Serve("", kHello);
  const std::pair<std::string, std::string> cases[] = {
      {"en", "en"}, {"pt-BR", "pt-BR"}, {std::string(12, 'a'), std::string(12, 'a')}, {std::string(13, 'a'), ""},
      {"en&q=x", ""}, {"en&langpair=xx|yy&v=9", ""}, {"en|zh", ""}, {"en\\u0026q=x", ""}, {"en\\r\\nX-Injected: 1", ""},
      {"en\r\nX-Injected: 1", ""}, {"en%26q=x", ""}, {"en#fragment", ""}, {"en zh", ""}, {"../../admin", ""},
      {"en\\u0000", ""}, {"中文", ""},
  };
  for (const auto& [detected, sent] : cases) {
    Reply(R"({"responseData": {"language":")" + detected + R"(","isReliable":true}})", kHello);
    EXPECT_EQ(TranslateForDisplay(m_table, "hi", "中文"), "你好");
    EXPECT_EQ(Targets().back(), kTranslatePrefix + "%68%69&langpair=" + sent + "|zh") << detected;
  }
}

TEST_F(TranslationTest, ErrorRepliesAreServiceErrorsWithTheirDetailsInUtf8) {
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  std::mt19937 random(1);
  std::string noise(4096, '\0');
  for (char& byte : noise) byte = static_cast<char>(random() % 2 ? random() % 256 : 0xE4);
  for (char& byte : noise)
    if (byte == '"' || byte == '\\' || byte == '\n' || byte == '\r' || byte == '\0') byte = '#';
  const std::pair<std::string, std::string> cases[] = {
      {R"({"responseData": null, "responseDetails": "invalid pair \u4e2d", "responseStatus": 400})",
       "翻译失败：invalid pair 中"},
      {R"({"responseData":null,"responseDetails":null,"responseStatus":500})", "翻译失败：服务没有返回译文"},
      {"<html>no key at all</html>", "翻译失败：服务没有返回译文"},
      {R"({"responseDetails": ")" + noise + "\"}", ""},
  };
  Serve(kEnglish, "");
  for (const auto& [reply, message] : cases) {
    Reply(kEnglish, reply);
    try {
      TranslateForDisplay(m_table, "hi", "\xD6\xD0\xCE\xC4", ShortLimits());
      ADD_FAILURE() << "not a translation: " << reply;
    } catch (const ServiceError& error) {
      if (!message.empty()) {
        EXPECT_STREQ(error.what(), message.c_str());
      }
      EXPECT_TRUE(IsValidUtf8(error.what())) << "messages stay UTF-8 in a GBK locale";
      EXPECT_GT(std::string(error.what()).size(), std::string("翻译失败：").size());
    }
  }
}

}  // namespace
}  // namespace parlavo
