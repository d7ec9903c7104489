// A whole mebibyte pasted into the input box and translated: it either works
// or the user is told why, and the input box keeps every byte either way.
#include <curl/curl.h>

#include <string>

#include "echo_service.h"
#include "input_text.h"
#include "long_request_server.h"
#include "loopback_server.h"
#include "main_window.h"

namespace parlavo::input {
namespace {

using hostile::EchoService;
using hostile::PercentDecoded;
using hostile::QueryValue;

constexpr std::size_t kMebibyte = 1024 * 1024;

// An error as the user reads it: in Chinese, with no library's English
// error text slipped in.
void ExpectChineseError(const ErrorBoxes& boxes) {
  ASSERT_EQ(boxes.count, 1);
  const std::string message = boxes.message.utf8_string();
  EXPECT_TRUE(message.starts_with("网络错误：") || message.starts_with("翻译失败：")) << message;
  for (int code = CURLE_OK + 1; code < CURL_LAST; ++code)
    EXPECT_EQ(message.find(curl_easy_strerror(static_cast<CURLcode>(code))), std::string::npos) << message;
}

using PasteTest = MainWindowTest;

TEST_F(PasteTest, MebibyteEitherTranslatesOrIsReported) {
  hostile::LongRequestServer service(EchoService);
  testing::ProxyRoute route(service.Url());
  const PastedText text = MixedText(kMebibyte);
  ResultBox().ChangeValue(wxS("上一次的译文"));
  Paste(text.pasted);
  ASSERT_TRUE(Utf8Of(InputBox()) == text.pasted) << "the paste arrived whole";

  const ErrorBoxes boxes = Translate(120s);

  if (boxes.count == 0) {
    ASSERT_EQ(service.Targets().size(), 2u);
    EXPECT_TRUE(PercentDecoded(QueryValue(service.Targets()[1], "q")) == text.held) << "the text was sent whole";
    EXPECT_TRUE(Utf8Of(ResultBox()) == text.held) << "the reply is shown whole";
  } else {
    ExpectChineseError(boxes);
    EXPECT_EQ(Utf8Of(ResultBox()), "上一次的译文");
  }
  EXPECT_TRUE(Utf8Of(InputBox()) == text.pasted) << "the input box keeps every byte";
}

TEST_F(PasteTest, LongPasteTranslatesWhole) {
  hostile::LongRequestServer service(EchoService);
  testing::ProxyRoute route(service.Url());
  // Its address (three characters per UTF-8 byte) stays within what an HTTP
  // client sends as a request line.
  const PastedText text = MixedText(200 * 1024);
  Paste(text.pasted);

  const ErrorBoxes boxes = Translate(120s);

  EXPECT_EQ(boxes.count, 0) << boxes.message.utf8_string();
  ASSERT_EQ(service.Targets().size(), 2u);
  EXPECT_TRUE(PercentDecoded(QueryValue(service.Targets()[0], "q")) == text.held) << "detect was sent all of it";
  EXPECT_TRUE(PercentDecoded(QueryValue(service.Targets()[1], "q")) == text.held) << "translate was sent all of it";
  EXPECT_TRUE(Utf8Of(ResultBox()) == text.held) << "the reply is shown whole";
  EXPECT_TRUE(Utf8Of(InputBox()) == text.pasted) << "the input box keeps every byte";
}

TEST_F(PasteTest, LongPasteTheServiceRefusesIsReportedAndKept) {
  // cpp-httplib refuses request lines over 8 KiB with 414, as the local
  // service does, which then explains itself in a reply of the usual shape.
  testing::LoopbackServer service;
  service.server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(R"({"responseData": {"language":"zh"}})", "text/javascript");
  });
  service.server().set_error_handler([](const httplib::Request&, httplib::Response& response) {
    response.set_content(R"({"responseData": null, "responseDetails": "文本过长", "responseStatus": )" +
                             std::to_string(response.status) + "}",
                         "text/javascript");
  });
  service.Start();
  testing::ProxyRoute route(service);
  const PastedText text = MixedText(64 * 1024);
  ResultBox().ChangeValue(wxS("上一次的译文"));
  Paste(text.pasted);

  const ErrorBoxes boxes = Translate(120s);

  ExpectChineseError(boxes);
  EXPECT_EQ(boxes.message.utf8_string(), "翻译失败：文本过长");
  EXPECT_EQ(Utf8Of(ResultBox()), "上一次的译文");
  EXPECT_TRUE(Utf8Of(InputBox()) == text.pasted) << "the input box keeps every byte";
}

}  // namespace
}  // namespace parlavo::input
