#include <gtest/gtest.h>

#include "loopback_server.h"
#include "service_fixture.h"
#include "services/translation_client.h"

// The desktop client's core talking to the real service, pointed at its
// loopback address, which the client reaches without any proxy.
namespace parlavo::server {
namespace {

using parlavo::testing::ServiceHostRoute;
using parlavo::testing::ScopedLocale;

class ClientCoreTest : public ::testing::Test {
 protected:
  testing::RunningService m_service{testing::RealDictionaryEngine()};
  ServiceHostRoute m_route{m_service.Url()};
};

TEST_F(ClientCoreTest, TheWorkedExampleEndsInARealTranslation) {
  ScopedLocale locale("zh_CN.UTF-8");
  ASSERT_TRUE(locale.ok());
  LanguageTable table;
  FillLanguageTable(table);
  EXPECT_EQ(parlavo::DetectLanguage("hi"), "en");
  EXPECT_EQ(parlavo::DetectLanguage("你好"), "zh-CN");
  EXPECT_EQ(TranslateForDisplay(table, "hi", "中文"), "你好");
  EXPECT_EQ(TranslateForDisplay(table, "你好", "英文"), "Hello");
  EXPECT_EQ(TranslateForDisplay(table, "hello", "中文"), "你好");
  EXPECT_EQ(TranslateForDisplay(table, "我爱你。", "英文"), "I love you.");
}

TEST_F(ClientCoreTest, WorksInTheGbkCodePage) {
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  LanguageTable table;
  FillLanguageTable(table);
  EXPECT_EQ(TranslateForDisplay(table, "\xC4\xE3\xBA\xC3", "\xD3\xA2\xCE\xC4"), "Hello");  // 你好 -> 英文
  EXPECT_EQ(TranslateForDisplay(table, "hello", "\xD6\xD0\xCE\xC4"), "\xC4\xE3\xBA\xC3");  // -> 中文
}

TEST_F(ClientCoreTest, TheServicesReasonReachesTheUser) {
  ScopedLocale locale("zh_CN.UTF-8");
  ASSERT_TRUE(locale.ok());
  LanguageTable table;
  FillLanguageTable(table);
  try {
    TranslateForDisplay(table, "hello", "法文");
    ADD_FAILURE() << "a target the client does not know still translated";
  } catch (const ServiceError& error) {
    EXPECT_EQ(std::string(error.what()), "翻译失败：语言对无效：“en|”（应为 源语言|目标语言，如 en|zh）");
  }
}

}  // namespace
}  // namespace parlavo::server
