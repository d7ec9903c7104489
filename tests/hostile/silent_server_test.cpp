// Servers that go quiet: before answering, or in the middle of a body.
#include <string>

#include "hostile_server_test.h"
#include "services/translation_client.h"
#include "services/update_checker.h"

namespace parlavo::hostile {
namespace {

using testing::ScopedLocale;

class SilentServerTest : public HostileServerTest {
 protected:
  // Answers nothing at all: the connection is accepted, the request read.
  void NeverAnswer() {
    server().Get(".*", [gate = m_gate](const httplib::Request&, httplib::Response&) { gate->WaitUntilOpen(); });
    Start();
  }
  // Sends the headers and `head` of a longer body, then nothing more.
  void StallAfter(std::string head) {
    server().Get(".*", [gate = m_gate, head](const httplib::Request&, httplib::Response& response) {
      response.set_content_provider(head.size() + 1000, "text/plain",
                                    [gate, head](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                      if (offset == 0) return sink.write(head.data(), head.size());
                                      gate->WaitUntilOpen();
                                      return false;
                                    });
    });
    Start();
  }
};

TEST_F(SilentServerTest, NeverAnsweringEndsTheTranslationWithATimeout) {
  NeverAnswer();
  LanguageTable table;
  FillLanguageTable(table);
  for (const char* locale : {"zh_CN.UTF-8", "zh_CN.GBK"}) {
    ScopedLocale scoped(locale);
    ASSERT_TRUE(scoped.ok());
    const auto message = NetworkErrorOf([&] { TranslateForDisplay(table, "hi", table[1].name, ShortLimits()); });
    ExpectChineseErrorNaming(message, ServiceHost());
    EXPECT_NE(message.value_or("").find("超时"), std::string::npos) << message.value_or("");
  }
}

TEST_F(SilentServerTest, NeverAnsweringEndsTheUpdateCheckWithATimeout) {
  NeverAnswer();
  CUpdateChecker checker(UPDATE_URL, UPDATE_KEY, ShortLimits());
  const auto message = NetworkErrorOf([&] { checker.CheckForUpdate(CURRENT_VERSION); });
  ExpectChineseErrorNaming(message, MakerHost());
}

TEST_F(SilentServerTest, StallingMidBodyIsATimeoutNotAShortReply) {
  StallAfter("{\"responseData\": {\"translatedText\":\"half a");
  const auto message = NetworkErrorOf([] { FetchUrlText(AddressOn("/stall"), ShortLimits()); });
  ExpectChineseErrorNaming(message, kHost);
  EXPECT_NE(message.value_or("").find("超时"), std::string::npos) << message.value_or("");
}

TEST_F(SilentServerTest, StallingBeforeTheKeyIsATimeoutForTheUpdateCheck) {
  StallAfter("version=9\r\ntra");
  CUpdateChecker checker(UPDATE_URL, UPDATE_KEY, ShortLimits());
  ExpectChineseErrorNaming(NetworkErrorOf([&] { checker.CheckForUpdate(CURRENT_VERSION); }), MakerHost());
}

TEST_F(SilentServerTest, StallingAfterTheMatchingLineDoesNotMatter) {
  StallAfter("version=9\r\ntrans=3\r\n");
  CUpdateChecker checker(UPDATE_URL, UPDATE_KEY, ShortLimits());
  EXPECT_EQ(checker.CheckForUpdate(CURRENT_VERSION), UpdateStatus::Newer);
}

}  // namespace
}  // namespace parlavo::hostile
