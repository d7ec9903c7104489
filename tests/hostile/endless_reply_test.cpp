// Replies that would never end on their own: endless bodies and redirects.
#include <atomic>
#include <memory>
#include <string>

#include "hostile_server_test.h"
#include "services/update_checker.h"

namespace parlavo::hostile {
namespace {

class EndlessReplyTest : public HostileServerTest {
 protected:
  // Streams `piece` for ever, until the client goes away; counts what the
  // connection took.
  void StreamForever(std::string piece) {
    server().Get(".*", [sent = m_sent, piece](const httplib::Request&, httplib::Response& response) {
      response.set_chunked_content_provider("text/plain", [sent, piece](std::size_t, httplib::DataSink& sink) {
        if (!sink.write(piece.data(), piece.size())) return false;
        *sent += piece.size();
        return true;
      });
    });
    Start();
  }

  // Shared with the handlers, which may outlive the test body.
  std::shared_ptr<std::atomic<std::size_t>> m_sent = std::make_shared<std::atomic<std::size_t>>(0);
};

void ExpectTooLarge(const std::optional<std::string>& message) {
  ExpectChineseErrorNaming(message, kHost);
  EXPECT_NE(message.value_or("").find("过大"), std::string::npos) << message.value_or("");
}

TEST_F(EndlessReplyTest, EndlessLinesStopAtTheSizeCap) {
  StreamForever(std::string(1023, 'a') + "\n");
  const FetchLimits limits = ShortLimits();
  ExpectTooLarge(NetworkErrorOf([&] { FetchUrlText(AddressOn("/endless"), limits); }));
  // The client let go at the cap it was given, not at the default one: what
  // the connection took beyond the cap is only what socket buffers hold.
  EXPECT_LT(m_sent->load(), FetchLimits{}.maxBodyBytes);
}

TEST_F(EndlessReplyTest, OneEndlessLineStopsAtTheSizeCap) {
  StreamForever(std::string(4096, '\xE4'));
  ExpectTooLarge(NetworkErrorOf([] { FetchUrlText(AddressOn("/endless-line"), ShortLimits()); }));
}

TEST_F(EndlessReplyTest, EndlessFileWithoutTheKeyStopsAtTheSizeCap) {
  StreamForever("version=9\r\nother=1\r\n");
  ExpectTooLarge(NetworkErrorOf([] { FetchMatchingLine(AddressOn("/up.txt"), UPDATE_KEY, ShortLimits()); }));
}

TEST_F(EndlessReplyTest, HugeDeclaredLengthStopsAtTheSizeCap) {
  server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
    response.set_content_provider(std::size_t{1} << 40, "text/plain",
                                  [](std::size_t, std::size_t, httplib::DataSink& sink) {
                                    static const std::string block(64 * 1024, 'b');
                                    return sink.write(block.data(), block.size());
                                  });
  });
  Start();
  ExpectTooLarge(NetworkErrorOf([] { FetchUrlText(AddressOn("/huge"), ShortLimits()); }));
}

TEST_F(EndlessReplyTest, EndlessRedirectsAreCutOff) {
  std::atomic<int> requests{0};
  server().Get(".*", [&requests](const httplib::Request&, httplib::Response& response) {
    response.set_redirect(AddressOn("/loop/") + std::to_string(++requests));
  });
  Start();
  const auto message = NetworkErrorOf([] { FetchUrlText(AddressOn("/loop/0"), ShortLimits()); });
  ExpectChineseErrorNaming(message, kHost);
  EXPECT_NE(message.value_or("").find("重定向"), std::string::npos) << message.value_or("");
  EXPECT_LE(requests.load(), 11) << "the first request and at most ten redirects";
}

TEST_F(EndlessReplyTest, RedirectsToOtherSchemesAreNotFollowed) {
  server().Get(".*", [](const httplib::Request& request, httplib::Response& response) {
    const std::string scheme = request.target.substr(request.target.rfind('/') + 1);
    response.set_redirect(scheme + (scheme == "file" ? ":///etc/passwd" : "://127.0.0.1/etc/passwd"));
  });
  Start();
  for (const char* scheme : {"file", "ftp", "gopher", "dict", "telnet"}) {
    CUpdateChecker checker(AddressOn("/to/") + scheme, "root", ShortLimits());
    EXPECT_EQ(checker.FetchMatchingLine(), "") << "nothing may be read through a redirect to " << scheme;
  }
}

}  // namespace
}  // namespace parlavo::hostile
