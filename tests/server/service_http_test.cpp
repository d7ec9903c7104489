#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>

#include "http/request_handler.h"
#include "raw_connection.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

using nlohmann::json;
using testing::BodyOf;
using testing::EncodeEveryByte;
using testing::Exchange;
using testing::RawConnection;
using testing::RealDictionaryEngine;
using testing::RunningService;
using testing::StatusOf;

const std::string kDetect = "/ajax/services/language/detect?v=1.0&q=";
const std::string kTranslate = "/ajax/services/language/translate?v=1.0&q=";

class ServiceHttpTest : public ::testing::Test {
 protected:
  httplib::Result Get(const std::string& target, const httplib::Headers& headers = {}) {
    httplib::Client client = m_service.Client();
    return client.Get(target.c_str(), headers);
  }

  std::string Translated(const std::string& text, const std::string& langpair) {
    const auto result = Get(kTranslate + EncodeEveryByte(text) + "&langpair=" + langpair);
    EXPECT_TRUE(result);
    if (!result) return "<no reply>";
    EXPECT_EQ(result->status, 200) << result->body;
    return json::parse(result->body)["responseData"]["translatedText"].get<std::string>();
  }

  // The error envelope with the HTTP status in both places and a Chinese reason.
  static void ExpectError(const httplib::Result& result, int status, const std::string& what) {
    ASSERT_TRUE(result) << what;
    EXPECT_EQ(result->status, status) << what << ": " << result->body;
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/javascript; charset=utf-8") << what;
    const json body = json::parse(result->body, nullptr, false);
    ASSERT_TRUE(body.is_object()) << what << ": " << result->body;
    EXPECT_TRUE(body["responseData"].is_null()) << what;
    EXPECT_EQ(body["responseStatus"], status) << what;
    ASSERT_TRUE(body["responseDetails"].is_string()) << what;
    EXPECT_NE(body["responseDetails"].get<std::string>().find_first_of("\xE4\xE5\xE6\xE7\xE8\xE9"),
              std::string::npos)
        << what << ": " << result->body;
    EXPECT_EQ(result->body.find(": "), std::string::npos) << "compact JSON";
  }

  RunningService m_service{RealDictionaryEngine()};
};

TEST_F(ServiceHttpTest, DetectAnswersTheWayTheClientReadsIt) {
  const auto result = Get(kDetect + "%68%69", {{"Range", "bytes=0-5,0-5,0-5"}});
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200) << "Range is ignored: a JSON reply is whole or nothing";
  EXPECT_EQ(result->get_header_value("Content-Type"), "text/javascript; charset=utf-8");
  EXPECT_EQ(result->get_header_value("X-Content-Type-Options"), "nosniff");
  EXPECT_TRUE(result->body.starts_with(R"({"responseData":{"language":"en","isReliable":false,"confidence":)"))
      << result->body;
  EXPECT_TRUE(result->body.ends_with(R"(},"responseDetails":null,"responseStatus":200})")) << result->body;

  const auto chinese = Get(kDetect + EncodeEveryByte("你好"));
  ASSERT_TRUE(chinese);
  EXPECT_NE(chinese->body.find(R"("language":"zh-CN")"), std::string::npos) << chinese->body;
  const auto empty = Get(kDetect);
  ASSERT_TRUE(empty);
  EXPECT_NE(empty->body.find(R"("language":"")"), std::string::npos) << empty->body;
}

TEST_F(ServiceHttpTest, TranslatesBetweenChineseAndEnglish) {
  EXPECT_EQ(Translated("你好", "zh|en"), "Hello");
  EXPECT_EQ(Translated("你好", "zh-CN|en"), "Hello");
  EXPECT_EQ(Translated("你們好", "zh-TW|en"), Translated("你们好", "zh|en")) << "traditional characters";
  EXPECT_EQ(Translated("hello", "en|zh"), "你好");
  EXPECT_EQ(Translated("hello", "en|zh-CN"), "你好");
  EXPECT_EQ(Translated("你好", "|en"), "Hello") << "an empty source is detected on the spot";
  EXPECT_EQ(Translated("hello", "|zh"), "你好");
  EXPECT_EQ(Translated("hello", "en|en"), "hello") << "nothing to do";
  EXPECT_EQ(Translated("12345", "|zh"), "12345") << "no letters, no language";
  EXPECT_EQ(Translated("", "en|zh"), "");
}

TEST_F(ServiceHttpTest, BadRequestsAnswerInTheEnvelope) {
  ExpectError(Get("/ajax/services/language/detect?v=1.0"), 400, "missing q");
  ExpectError(Get("/ajax/services/language/translate?v=1.0&langpair=en|zh"), 400, "missing q");
  ExpectError(Get("/ajax/services/language/detect?q=hi"), 400, "missing v");
  ExpectError(Get("/ajax/services/language/detect?v=2.0&q=hi"), 400, "wrong v");
  ExpectError(Get(kTranslate + "hi"), 400, "missing langpair");
  for (const char* langpair : {"en", "en-zh", "en|", "en|zh|x", "e%20n|zh", "en|%E4%B8%AD", "|"}) {
    ExpectError(Get(kTranslate + "hi&langpair=" + langpair), 400, std::string("malformed langpair ") + langpair);
  }
  ExpectError(Get(kTranslate + "hi&langpair=en|fr"), 400, "unknown pair");
  ExpectError(Get(kTranslate + "hi&langpair=fr|zh"), 400, "unknown pair");
  ExpectError(Get(kTranslate + "hi&langpair=en|zh-TW"), 400, "traditional output is not offered");
  ExpectError(Get(kDetect + "%ff%fe"), 400, "invalid UTF-8");
  ExpectError(Get(kDetect + "%ed%a0%80"), 400, "encoded surrogate");
  ExpectError(Get(kDetect + "%zz"), 400, "malformed escape");
}

TEST(RequestHandlerTest, TextOverOneMebibyteIsRefused) {
  const RequestHandler handler(RealDictionaryEngine(), "127.0.0.1");
  const auto detect = [&](std::size_t bytes) {
    return handler.Handle({"GET", kDetect + std::string(bytes, 'a'), {"127.0.0.1:8765"}});
  };
  const ServiceReply limit = detect(kMaxTextBytes);
  EXPECT_EQ(limit.status, 200);
  const ServiceReply over = detect(kMaxTextBytes + 1);
  EXPECT_EQ(over.status, 400);
  EXPECT_NE(over.body.find("1 MiB"), std::string::npos) << over.body;
  EXPECT_NE(over.body.find(R"("responseData":null)"), std::string::npos);
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

TEST_F(ServiceHttpTest, UnknownPathsAreNotFound) {
  for (const char* path : {"/", "/ajax/services/language/", "/ajax/services/language/detect/?v=1.0&q=hi",
                           "/ajax/services/language/Detect?v=1.0&q=hi", "/favicon.ico"}) {
    ExpectError(Get(path), 404, path);
  }
}

TEST_F(ServiceHttpTest, OnlyGetIsAllowed) {
  httplib::Client client = m_service.Client();
  const std::string target = kDetect + "hi";
  const std::vector<std::function<httplib::Result()>> requests{
      [&] { return client.Put(target.c_str(), "", "text/plain"); },
      [&] { return client.Delete(target.c_str()); },
      [&] { return client.Patch(target.c_str(), "", "text/plain"); },
      [&] { return client.Options(target.c_str()); }};
  for (const auto& request : requests) {
    const httplib::Result result = request();
    ExpectError(result, 405, "method");
    if (result) {
      EXPECT_EQ(result->get_header_value("Allow"), "GET, HEAD");
    }
  }
  const auto head = client.Head(target.c_str());
  ASSERT_TRUE(head);
  EXPECT_EQ(head->status, 200) << "HEAD is GET without the body";
  EXPECT_TRUE(head->body.empty());
}

TEST_F(ServiceHttpTest, RefusesHostsOtherThanItsOwnAddress) {
  const std::string target = kDetect + "hi";
  for (const char* host : {"evil.example", "evil.example:" /* port ignored */, "127.0.0.1.evil.example",
                           "127.0.0.2:8765", "[::1]:8765"}) {
    ExpectError(Get(target, {{"Host", host}}), 403, host);
  }
  // What a browser adds to a request a web page makes.
  for (const httplib::Headers& fromAPage : std::vector<httplib::Headers>{
           {{"Origin", "http://evil.example"}}, {{"Origin", "null"}}, {{"Origin", "http://127.0.0.1:8000"}},
           {{"Sec-Fetch-Site", "cross-site"}}, {{"Sec-Fetch-Site", "same-site"}}}) {
    ExpectError(Get(target, fromAPage), 403, fromAPage.begin()->first + ": " + fromAPage.begin()->second);
  }
  EXPECT_EQ(Get(target, {{"Sec-Fetch-Site", "none"}})->status, 200) << "typed into the address bar";
  for (const char* host : {"localhost", "localhost:8765", "LOCALHOST", "127.0.0.1", "127.0.0.1:1"}) {
    const auto result = Get(target, {{"Host", host}});
    ASSERT_TRUE(result) << host;
    EXPECT_EQ(result->status, 200) << host;
  }
}

TEST_F(ServiceHttpTest, HostCheckCoversRequestsWithoutAUsableHostHeader) {
  const std::string line = "GET " + kDetect + "hi HTTP/1.1\r\n";
  EXPECT_EQ(StatusOf(Exchange(m_service.port(), "GET " + kDetect + "hi HTTP/1.0\r\n\r\n")), 403) << "no Host";
  EXPECT_EQ(StatusOf(Exchange(m_service.port(),
                              line + "Host: 127.0.0.1\r\nHost: evil.example\r\nConnection: close\r\n\r\n")),
            403)
      << "two Host headers";
  const std::string reply =
      Exchange(m_service.port(), line + "Host: 127.0.0.1\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(StatusOf(reply), 200);
  EXPECT_NE(BodyOf(reply).find(R"("language":"en")"), std::string::npos) << reply;
}

TEST_F(ServiceHttpTest, AcceptsAbsoluteFormTargetsNamingItself) {
  const auto request = [&](const std::string& authority, const std::string& host) {
    return Exchange(m_service.port(), "GET http://" + authority + kTranslate + EncodeEveryByte("hello") +
                                          "&langpair=en|zh HTTP/1.1\r\nHost: " + host +
                                          "\r\nConnection: close\r\n\r\n");
  };
  const std::string proxied = request("127.0.0.1:8765", "127.0.0.1:8765");
  EXPECT_EQ(StatusOf(proxied), 200) << proxied;
  EXPECT_NE(BodyOf(proxied).find(R"("translatedText":"你好")"), std::string::npos) << proxied;
  EXPECT_EQ(StatusOf(request("localhost:8765", "127.0.0.1:8765")), 200);
  EXPECT_EQ(StatusOf(request("evil.example", "127.0.0.1:8765")), 403) << "the target names a foreign host";
  EXPECT_EQ(StatusOf(request("127.0.0.1:8765", "evil.example")), 403);
}

std::string Request(const std::string& text, const std::string& extraHeaders = "") {
  return "GET " + kDetect + text + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extraHeaders + "\r\n";
}

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
  connection.Send(Request("hello") + Request(EncodeEveryByte("你好")) +
                  "GET /unknown HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
  const auto replies = Replies(connection.ReceiveAll());
  ASSERT_EQ(replies.size(), 3u);
  EXPECT_NE(BodyOf(replies[0]).find(R"("language":"en")"), std::string::npos) << replies[0];
  EXPECT_NE(BodyOf(replies[1]).find(R"("language":"zh-CN")"), std::string::npos) << replies[1];
  EXPECT_EQ(StatusOf(replies[2]), 404) << replies[2];
}

// A body left unread would be served as the next request (smuggling).
TEST_F(ServiceHttpTest, ARequestWithABodyIsRefusedAndItsBodyNeverServed) {
  const std::string inner = Request("hi");
  const std::string length = "Content-Length: " + std::to_string(inner.size()) + "\r\n";
  const std::string chunked = "Transfer-Encoding: chunked\r\n";
  for (const std::string& framing : {length, chunked, length + chunked, length + length, "Content-Length: 0\r\n" + length}) {
    for (const char* method : {"GET", "POST"}) {
      RawConnection connection(m_service.port());
      connection.Send(std::string(method) + Request("hi", framing).substr(3) + inner);
      const auto replies = Replies(connection.ReceiveAll());
      ASSERT_EQ(replies.size(), 1u) << method << " " << framing;
      EXPECT_EQ(StatusOf(replies[0]), 400) << replies[0];
      EXPECT_TRUE(connection.closedByPeer());
    }
  }
}

}  // namespace
}  // namespace parlavo::server
