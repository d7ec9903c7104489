#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "http/request_handler.h"
#include "loopback_server.h"
#include "service_fixture.h"
#include "services/translation_client.h"

// The service's HTTP side: the envelope as the desktop client's core reads
// it, every refusal, and what a hostile or slow client can do.
namespace parlavo::server {
namespace {

using namespace testing;

const std::string kDetect = "/ajax/services/language/detect?v=1.0&q=";
const std::string kTranslate = "/ajax/services/language/translate?v=1.0&q=";
const std::string kHost = "Host: 127.0.0.1\r\n";

std::string Request(const std::string& method, const std::string& target, const std::string& head = kHost,
                    const std::string& version = "HTTP/1.1") {
  return method + " " + target + " " + version + "\r\n" + head + "Connection: close\r\n\r\n";
}

class ServiceHttpTest : public ::testing::Test {
 protected:
  RunningService m_service{RealDictionaryEngine()};
};

TEST_F(ServiceHttpTest, TheEnvelopeIsWrittenTheWayTheClientScansIt) {
  const std::string reply = Get(m_service.port(), kDetect + "%68%69", "Range: bytes=0-5,0-5\r\n");
  EXPECT_EQ(StatusOf(reply), 200) << "Range is ignored: a JSON reply is whole or nothing";
  EXPECT_NE(reply.find("\r\nContent-Type: text/javascript; charset=utf-8\r\n"), std::string::npos) << reply;
  EXPECT_NE(reply.find("\r\nX-Content-Type-Options: nosniff\r\n"), std::string::npos) << reply;
  EXPECT_TRUE(BodyOf(reply).starts_with(R"({"responseData":{"language":"en","isReliable":false,"confidence":)"))
      << reply;
  EXPECT_TRUE(BodyOf(reply).ends_with(R"(},"responseDetails":null,"responseStatus":200})")) << reply;
  EXPECT_NE(Get(m_service.port(), kTranslate + "hello&langpair=en|zh").find(R"({"translatedText":"你好"})"),
            std::string::npos);
  EXPECT_EQ(BodyOf(Get(m_service.port(), kTranslate + PercentEncodeEveryByte("你們好") + "&langpair=|en")),
            BodyOf(Get(m_service.port(), kTranslate + PercentEncodeEveryByte("你们好") + "&langpair=zh|en")))
      << "detected on the spot, Traditional read";
  const std::string head = Exchange(m_service.port(), Request("HEAD", kDetect + "hi"));
  EXPECT_EQ(StatusOf(head), 200);
  EXPECT_EQ(BodyOf(head), "") << "HEAD is GET without the body";
}

// The real client core against the real service: what one half writes, the
// other reads.
TEST_F(ServiceHttpTest, TheClientCoreReadsWhatTheServiceWrites) {
  parlavo::testing::ServiceHostRoute route("http://127.0.0.1:" + std::to_string(m_service.port()));
  parlavo::testing::ScopedLocale locale("zh_CN.UTF-8");
  ASSERT_TRUE(locale.ok());
  LanguageTable table;
  FillLanguageTable(table);
  EXPECT_EQ(parlavo::DetectLanguage("hi"), "en");
  EXPECT_EQ(parlavo::DetectLanguage("你好"), "zh-CN");
  EXPECT_EQ(TranslateForDisplay(table, "hi", "中文"), "你好");
  EXPECT_EQ(TranslateForDisplay(table, "我爱你。", "英文"), "I love you.");
  try {
    TranslateForDisplay(table, "hello", "法文");
    ADD_FAILURE() << "a target the client does not know still translated";
  } catch (const ServiceError& error) {
    EXPECT_NE(std::string(error.what()).find("en|"), std::string::npos) << "the service's own reason: " << error.what();
  }
}

// Every refusal answers in the envelope: the status in both places, no
// data, a reason in Chinese.
TEST_F(ServiceHttpTest, EveryRefusalAnswersInTheEnvelope) {
  const std::string hi = kDetect + "hi";
  const std::string tooLong = kDetect + std::string(kMaxTextBytes + 1, 'a');
  const std::vector<std::pair<std::string, int>> cases{
      {Request("GET", "/ajax/services/language/detect?v=1.0"), 400},
      {Request("GET", "/ajax/services/language/detect?q=hi"), 400},
      {Request("GET", "/ajax/services/language/detect?v=2.0&q=hi"), 400},
      {Request("GET", kTranslate + "hi"), 400},
      {Request("GET", kTranslate + "hi&langpair=en"), 400},
      {Request("GET", kTranslate + "hi&langpair=en|zh|x"), 400},
      {Request("GET", kTranslate + "hi&langpair=|"), 400},
      {Request("GET", kTranslate + "hi&langpair=en|fr"), 400},
      {Request("GET", kTranslate + "hi&langpair=en|zh-TW"), 400},
      {Request("GET", kDetect + "%ff%fe"), 400},
      {Request("GET", kDetect + "%zz"), 400},
      {Request("GET", tooLong), 400},
      {Request("GET", "/"), 404},
      {Request("GET", "/ajax/services/language/Detect?v=1.0&q=hi"), 404},
      {Request("POST", hi, kHost + "Content-Length: 0\r\n"), 405},
      {Request("PUT", hi), 405},
      {Request("OPTIONS", hi), 405},
      // DNS rebinding: a page of another site reaching us under its own name.
      {Request("GET", hi, "Host: evil.example\r\n"), 403},
      {Request("GET", hi, "Host: 127.0.0.1.evil.example\r\n"), 403},
      {Request("GET", hi, "Host: 127.0.0.2:8765\r\n"), 403},
      {Request("GET", hi, "Host: [::1]:8765\r\n"), 403},
      {Request("GET", hi, kHost + "Host: evil.example\r\n"), 403},
      {Request("GET", hi, "", "HTTP/1.0"), 403},
      {Request("GET", "http://evil.example" + hi), 403},
      {Request("GET", "http://127.0.0.1:8765" + hi, "Host: evil.example\r\n"), 403},
      // What a browser adds to requests a web page makes.
      {Request("GET", hi, kHost + "Origin: http://evil.example\r\n"), 403},
      {Request("GET", hi, kHost + "Origin: null\r\n"), 403},
      {Request("GET", hi, kHost + "Sec-Fetch-Site: cross-site\r\n"), 403},
      {Request("GET", hi, kHost + "Sec-Fetch-Site: same-site\r\n"), 403},
  };
  for (const auto& [request, status] : cases) {
    const std::string reply = Exchange(m_service.port(), request);
    const std::string what = request.substr(0, 120);
    EXPECT_EQ(StatusOf(reply), status) << what << "\n" << reply;
    EXPECT_NE(reply.find("\r\nContent-Type: text/javascript; charset=utf-8\r\n"), std::string::npos) << what;
    const std::string body = BodyOf(reply);
    EXPECT_TRUE(body.starts_with(R"({"responseData":null,"responseDetails":")")) << what << "\n" << body;
    EXPECT_TRUE(body.ends_with(R"(","responseStatus":)" + std::to_string(status) + "}")) << what << "\n" << body;
    EXPECT_NE(body.find_first_of("\xE4\xE5\xE6\xE7\xE8\xE9"), std::string::npos) << "a Chinese reason: " << body;
    if (status == 405) {
      EXPECT_NE(reply.find("\r\nAllow: GET, HEAD\r\n"), std::string::npos) << reply;
    }
  }
  for (const std::string& accepted :
       {Request("GET", hi, "Host: localhost:8765\r\n"), Request("GET", hi, "Host: LOCALHOST\r\n"),
        Request("GET", hi, "Host: 127.0.0.1:1\r\n"), Request("GET", hi, kHost + "Sec-Fetch-Site: none\r\n"),
        Request("GET", "http://localhost:8765" + hi), Request("GET", "http://127.0.0.1:8765" + hi)}) {
    EXPECT_EQ(StatusOf(Exchange(m_service.port(), accepted)), 200) << accepted;
  }
}

TEST_F(ServiceHttpTest, ARequestLineOrHeaderBlockOverTheConnectionsMemoryIsRefused) {
  RawConnection longLine(m_service.port());
  longLine.Send("GET " + kDetect + std::string(ServerLimits().connectionMemory, 'a'));
  EXPECT_EQ(StatusOf(longLine.ReceiveAll()), 414);
  EXPECT_TRUE(longLine.closedByPeer());

  RawConnection manyHeaders(m_service.port());
  std::string headers = "GET " + kDetect + "hi HTTP/1.1\r\n";
  while (headers.size() <= ServerLimits().connectionMemory) headers += "X-Filler: 0123456789\r\n";
  manyHeaders.Send(headers);
  EXPECT_EQ(StatusOf(manyHeaders.ReceiveAll()) / 100, 4);
  EXPECT_TRUE(manyHeaders.closedByPeer());
}

std::string KeepAlive(const std::string& target) { return "GET " + target + " HTTP/1.1\r\n" + kHost + "\r\n"; }

// Replies in the order they came, split where each one begins.
std::vector<std::string> Replies(const std::string& received) {
  std::vector<std::string> replies;
  for (std::size_t at = received.find("HTTP/1.1 "); at != std::string::npos;) {
    const std::size_t next = received.find("HTTP/1.1 ", at + 1);
    replies.push_back(received.substr(at, next - at));
    at = next;
  }
  return replies;
}

TEST_F(ServiceHttpTest, PipelinedRequestsAreEachAnsweredInOrder) {
  RawConnection connection(m_service.port());
  connection.Send(KeepAlive(kDetect + "hello") + KeepAlive(kDetect + PercentEncodeEveryByte("你好")) +
                  Request("GET", "/unknown"));
  const auto replies = Replies(connection.ReceiveAll());
  ASSERT_EQ(replies.size(), 3u);
  EXPECT_NE(BodyOf(replies[0]).find(R"("language":"en")"), std::string::npos) << replies[0];
  EXPECT_NE(BodyOf(replies[1]).find(R"("language":"zh-CN")"), std::string::npos) << replies[1];
  EXPECT_EQ(StatusOf(replies[2]), 404) << replies[2];
}

// A body left unread would be served as the next request (smuggling),
// however its framing header is written.
TEST_F(ServiceHttpTest, ARequestWithABodyIsRefusedAndItsBodyNeverServed) {
  const std::string inner = KeepAlive("/smuggled");
  const std::string size = std::to_string(inner.size());
  const std::string length = "Content-Length: " + size + "\r\n";
  const std::string chunked = "Transfer-Encoding: chunked\r\n";
  const std::vector<std::pair<std::string, int>> framings{
      {length, 400},
      {chunked, 400},
      {length + chunked, 400},
      {length + length, 400},
      {"Content-Length: 0\r\n" + length, 400},
      {"Content-Length : " + size + "\r\n", 400},
      {"Content-Length\t: " + size + "\r\n", 400},
      {"Content-Length:\r\n " + size + "\r\n", 400},
      {"Transfer-Encoding:\r\n chunked\r\n", 400},
      {"Transfer-Encoding : chunked\r\n", 400},
      {"X-Filler: 1\r\n Content-Length: " + size + "\r\n", 400},
      {"Content Length: " + size + "\r\n", 400},
      // The library shows only the "0": the request is answered, its
      // connection closed, and what follows never read.
      {std::string("Content-Length: 0\0", 18) + size + "\r\n", 200},
  };
  for (const auto& [framing, status] : framings) {
    for (const char* method : {"GET", "POST"}) {
      RawConnection connection(m_service.port());
      connection.Send(std::string(method) + " " + kDetect + "hi HTTP/1.1\r\n" + kHost + framing + "\r\n" + inner);
      const auto replies = Replies(connection.ReceiveAll());
      ASSERT_EQ(replies.size(), 1u) << method << " " << framing;
      const int expected = status == 200 && method == std::string("POST") ? 405 : status;
      EXPECT_EQ(StatusOf(replies[0]), expected) << method << " " << framing << "\n" << replies[0];
      EXPECT_TRUE(connection.closedByPeer()) << method << " " << framing;
    }
  }
}

// A slow client costs a connection, never a thread, and is closed when its
// request's time runs out, however steadily it trickles.
TEST(ServiceSlowClientTest, SlowClientsDoNotHoldOthersUpAndAreClosedAtTheirDeadline) {
  ServerLimits limits;
  limits.requestTime = std::chrono::seconds(1);
  RunningService service(RealDictionaryEngine(), limits);
  const std::string request = KeepAlive(kDetect + "hi");
  std::vector<std::unique_ptr<RawConnection>> slow;
  for (int i = 0; i < 40; ++i) {
    slow.push_back(std::make_unique<RawConnection>(service.port()));
    slow.back()->Send(request.substr(0, 1));
  }
  for (std::size_t byte = 1; byte < 3; ++byte) {
    EXPECT_EQ(StatusOf(Get(service.port(), kDetect + "hi")), 200) << "while 40 clients trickle";
    for (auto& connection : slow) connection->Send(request.substr(byte, 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
  }
  for (auto& connection : slow) {
    connection->ReceiveAll(std::chrono::seconds(3));
    EXPECT_TRUE(connection->closedByPeer());
  }
}

}  // namespace
}  // namespace parlavo::server
