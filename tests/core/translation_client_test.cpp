#include <gtest/gtest.h>

#include <map>

#include "loopback_server.h"
#include "services/translation_client.h"

namespace parlavo {
namespace {

using testing::LoopbackServer;
using testing::ProxyRoute;
using testing::ScopedLocale;

const std::string kDetectPrefix = std::string("http://") + SERVICE_HOST + "/ajax/services/language/detect?v=1.0&q=";
const std::string kTranslatePrefix =
    std::string("http://") + SERVICE_HOST + "/ajax/services/language/translate?v=1.0&q=";

Text Extracted(Text body, Text key) {
  ExtractField(body, key);
  return body;
}

TEST(LanguageTableTest, MapsDisplayNamesToServiceCodes) {
  ScopedLocale locale("C.UTF-8");
  LanguageTable table;
  FillLanguageTable(table);
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].name, "中文");
  EXPECT_EQ(LookupLanguageCode(table, "中文"), "zh");
  EXPECT_EQ(LookupLanguageCode(table, "英文"), "en");
  EXPECT_EQ(LookupLanguageCode(table, "自动检测"), "");
  EXPECT_EQ(LookupLanguageCode(table, "英文 "), "");
}

TEST(LanguageTableTest, NamesFollowTheLocaleCodePage) {
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  LanguageTable table;
  FillLanguageTable(table);
  EXPECT_EQ(LookupLanguageCode(table, "\xD3\xA2\xCE\xC4"), "en");  // 英文 in GBK
}

TEST(ExtractFieldTest, CutsTheValueAfterTheKey) {
  ScopedLocale locale("C.UTF-8");
  EXPECT_EQ(Extracted(R"({"language":"en"})", "language"), "en");
  EXPECT_EQ(Extracted(R"({"responseData":{"translatedText":"你好"},"x":"y"})", "translatedText"), "你好");
  EXPECT_EQ(Extracted(R"({"language":"en)", "language"), "") << "no closing quote";
  EXPECT_EQ(Extracted(R"({"other":"en"})", "language"), "") << "no key";
  EXPECT_EQ(Extracted(R"({"language)", "language"), "") << "key at the very end";
  EXPECT_EQ(Extracted("", "language"), "");
}

TEST(ExtractFieldTest, DecodesJsonEscapes) {
  ScopedLocale locale("C.UTF-8");
  EXPECT_EQ(Extracted(R"({"t":"say \"hi\" now"})", "t"), "say \"hi\" now");
  EXPECT_EQ(Extracted(R"({"t":"a\\b\/c\n\r\t\b\f"})", "t"), "a\\b/c\n\r\t\b\f");
  EXPECT_EQ(Extracted(R"({"t":"\u4f60\u597D!"})", "t"), "你好!");
  EXPECT_EQ(Extracted(R"({"t":"\ud83d\ude00"})", "t"), "😀");
}

TEST(ExtractFieldTest, BrokenEscapesStayAsTheyStand) {
  ScopedLocale locale("C.UTF-8");
  EXPECT_EQ(Extracted(R"({"t":"\x\u12G4\ud83d."})", "t"), R"(\x\u12G4\ud83d.)");
  EXPECT_EQ(Extracted(R"({"t":"\ude00"})", "t"), R"(\ude00)");
  EXPECT_EQ(Extracted(R"({"t":"ends\)", "t"), "") << "an escaped quote does not close the value";
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
  // Replies by request kind; the target is recorded by the server.
  void Serve(std::string detectReply, std::string translateReply) {
    m_server.server().Get(".*", [=](const httplib::Request& request, httplib::Response& response) {
      const bool detect = request.target.find("/detect?") != std::string::npos;
      response.set_content(detect ? detectReply : translateReply, "text/javascript; charset=utf-8");
    });
    m_server.Start();
    m_route = std::make_unique<ProxyRoute>(m_server);
    FillLanguageTable(m_table);
  }
  std::vector<std::string> Targets() const { return m_server.Targets(); }

  LoopbackServer m_server;
  std::unique_ptr<ProxyRoute> m_route;
  LanguageTable m_table;
};

const std::string kEnglish = R"({"responseData":{"language":"en","isReliable":true,"confidence":0.9},"responseDetails":null,"responseStatus":200})";
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
  EXPECT_EQ(TranslateForDisplay(m_table, "\xD6\xD0", "\xD3\xA2\xCE\xC4"), "\xC4\xE3\xBA\xC3");
  EXPECT_EQ(Targets().back(), kTranslatePrefix + "%e4%b8%ad&langpair=zh-CN|en");
}

TEST_F(TranslationTest, MissingDetectionStillTranslatesWithEmptySource) {
  ScopedLocale locale("C.UTF-8");
  Serve("", kHello);
  EXPECT_EQ(TranslateForDisplay(m_table, "", "英文"), "你好");
  EXPECT_EQ(Targets(), (std::vector<std::string>{kDetectPrefix, kTranslatePrefix + "&langpair=|en"}));
}

TEST_F(TranslationTest, InjectedLanguageCodeNeverReachesTheAddress) {
  ScopedLocale locale("C.UTF-8");
  Serve(R"({"language":"en&q=x|de"})", kHello);
  EXPECT_EQ(ResolveLanguagePair(m_table, "hi", "中文").source, "en&q=x|de");
  TranslateForDisplay(m_table, "hi", "中文");
  EXPECT_EQ(Targets().back(), kTranslatePrefix + "%68%69&langpair=|zh");
}

TEST_F(TranslationTest, EmptyTranslateReplyClearsTheResult) {
  ScopedLocale locale("C.UTF-8");
  Serve(kEnglish, "");
  EXPECT_EQ(TranslateForDisplay(m_table, "hi", "中文"), "");
}

TEST_F(TranslationTest, ErrorReplyIsAServiceErrorWithItsDetails) {
  ScopedLocale locale("C.UTF-8");
  Serve(kEnglish, R"({"responseData": null, "responseDetails": "invalid translation language pair", "responseStatus": 400})");
  try {
    TranslateForDisplay(m_table, "hi", "中文");
    FAIL() << "an error reply is not a translation";
  } catch (const ServiceError& error) {
    EXPECT_STREQ(error.what(), "翻译失败：invalid translation language pair");
  }
}

TEST_F(TranslationTest, ErrorReplyWithoutDetailsStillSaysWhat) {
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  Serve(kEnglish, R"({"responseData":null,"responseDetails":null,"responseStatus":500})");
  EXPECT_THROW(
      {
        try {
          TranslateForDisplay(m_table, "hi", "\xD6\xD0\xCE\xC4");
        } catch (const ServiceError& error) {
          EXPECT_STREQ(error.what(), "翻译失败：服务没有返回译文") << "messages stay UTF-8 in a GBK locale";
          throw;
        }
      },
      ServiceError);
}

}  // namespace
}  // namespace parlavo
