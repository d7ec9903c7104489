#include <gtest/gtest.h>

#include "service_fixture.h"
#include "services/translation_client.h"

// The desktop client's core against the real service on loopback: what one
// half writes, the other reads.
namespace parlavo::server {
namespace {

using parlavo::testing::ScopedLocale;

class ClientCoreTest : public ::testing::Test {
 protected:
  testing::RunningService m_service{testing::RealDictionaryEngine()};
  parlavo::testing::ServiceHostRoute m_route{"http://127.0.0.1:" + std::to_string(m_service.port())};
  LanguageTable m_table;
};

TEST_F(ClientCoreTest, DetectsTranslatesAndPassesOnTheServicesReason) {
  ScopedLocale locale("zh_CN.UTF-8");
  ASSERT_TRUE(locale.ok());
  FillLanguageTable(m_table);
  EXPECT_EQ(parlavo::DetectLanguage("hi"), "en");
  EXPECT_EQ(parlavo::DetectLanguage("你好"), "zh-CN");
  EXPECT_EQ(TranslateForDisplay(m_table, "hi", "中文"), "你好");
  EXPECT_EQ(TranslateForDisplay(m_table, "我爱你。", "英文"), "I love you.");
  try {
    TranslateForDisplay(m_table, "hello", "法文");
    ADD_FAILURE() << "a target the client does not know still translated";
  } catch (const ServiceError& error) {
    EXPECT_NE(std::string(error.what()).find("en|"), std::string::npos) << "the service's own reason: " << error.what();
  }
}

}  // namespace
}  // namespace parlavo::server
