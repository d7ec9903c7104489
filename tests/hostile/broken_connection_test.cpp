// Connections that break: cut short, reset, or never accepted.
#include <sys/socket.h>

#include <string>

#include "hostile_server_test.h"
#include "services/translation_client.h"
#include "services/update_checker.h"

namespace parlavo::hostile {
namespace {

using testing::ScopedLocale;

class BrokenConnectionTest : public HostileServerTest {
 protected:
  // Promises a longer body, sends `head`, then closes the connection.
  void CloseAfter(std::string head) {
    server().Get(".*", [head](const httplib::Request&, httplib::Response& response) {
      response.set_content_provider(head.size() + 1000, "text/plain",
                                    [head](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                      return offset == 0 && sink.write(head.data(), head.size());
                                    });
    });
    Start();
  }
  // A zero linger time makes the server's close abortive: the connection is
  // reset (RST). Accepted sockets take the option over from the listening
  // one. cpp-httplib shuts the socket down just before, so the client may
  // see the stream end a moment before the reset; the body is cut short
  // mid-way either way.
  void ResetOnClose() {
    server().set_socket_options([](socket_t socket) {
      const linger abortive{1, 0};
      setsockopt(socket, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    });
  }
};

TEST_F(BrokenConnectionTest, BodyCutShortIsAnError) {
  CloseAfter("{\"responseData\": {\"translatedText\":\"half a");
  const auto message = NetworkErrorOf([] { FetchUrlText(AddressOn("/cut"), ShortLimits()); });
  ExpectChineseErrorNaming(message, kHost);
  EXPECT_NE(message.value_or("").find("中断"), std::string::npos) << message.value_or("");
}

TEST_F(BrokenConnectionTest, ResetMidBodyIsAnError) {
  ResetOnClose();
  CloseAfter(std::string(64 * 1024, 'x'));
  const auto message = NetworkErrorOf([] { FetchUrlText(AddressOn("/reset"), ShortLimits()); });
  ExpectChineseErrorNaming(message, kHost);
  EXPECT_NE(message.value_or("").find("中断"), std::string::npos) << message.value_or("");
}

TEST_F(BrokenConnectionTest, ResetBeforeTheKeyIsAnErrorForTheUpdateCheck) {
  ResetOnClose();
  CloseAfter("version=9\r\nother=1\r\n");
  CUpdateChecker checker(UPDATE_URL, UPDATE_KEY, ShortLimits());
  ExpectChineseErrorNaming(NetworkErrorOf([&] { checker.CheckForUpdate(CURRENT_VERSION); }), MakerHost());
}

TEST_F(BrokenConnectionTest, ResetDuringTheTranslateReplyIsAnError) {
  ResetOnClose();
  server().Get(".*", [](const httplib::Request& request, httplib::Response& response) {
    if (request.target.find("/detect?") != std::string::npos) {
      response.set_content(R"({"responseData": {"language":"en"}})", "text/plain");
      return;
    }
    response.set_content_provider(4000, "text/plain", [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
      const std::string head = "{\"responseData\": {\"translatedText\":\"" + std::string(2000, 'y');
      return offset == 0 && sink.write(head.data(), head.size());
    });
  });
  Start();
  LanguageTable table;
  FillLanguageTable(table);
  ExpectChineseErrorNaming(NetworkErrorOf([&] { TranslateForDisplay(table, "hi", table[0].name, ShortLimits()); }),
                           ServiceHost());
}

// Nothing listens on the port the proxy route leads to.
class RefusedPortTest : public ::testing::Test {
 protected:
  testing::ProxyRoute m_route{testing::RefusingProxyUrl()};
};

TEST_F(RefusedPortTest, TranslationNamesTheServiceInEitherLocale) {
  LanguageTable table;
  FillLanguageTable(table);
  for (const char* locale : {"zh_CN.UTF-8", "zh_CN.GBK"}) {
    ScopedLocale scoped(locale);
    ASSERT_TRUE(scoped.ok());
    const auto message = NetworkErrorOf([&] { TranslateForDisplay(table, "你好", table[1].name, ShortLimits()); });
    ExpectChineseErrorNaming(message, ServiceHost());
    EXPECT_NE(message.value_or("").find("无法连接"), std::string::npos) << message.value_or("");
  }
}

TEST_F(RefusedPortTest, UpdateCheckNamesTheMakersHost) {
  CUpdateChecker checker(UPDATE_URL, UPDATE_KEY, ShortLimits());
  ExpectChineseErrorNaming(NetworkErrorOf([&] { checker.CheckForUpdate(CURRENT_VERSION); }), MakerHost());
}

}  // namespace
}  // namespace parlavo::hostile
