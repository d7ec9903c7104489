// Characters that the locale's code page cannot hold: the request carries
// the documented substitute '?' in their place, and everything after them.
#include <string>
#include <vector>

#include "input_text.h"
#include "loopback_server.h"
#include "main_window.h"
#include "net/ansi_code_page.h"

namespace parlavo::input {
namespace {

class CodePageTest : public MainWindowTest {
 protected:
  void SetUp() override {
    m_service.server().Get(".*", [](const httplib::Request& request, httplib::Response& response) {
      const bool detect = request.target.find("/detect?") != std::string::npos;
      response.set_content(detect ? R"({"responseData": {"language":"zh"}})"
                                  : R"({"responseData": {"translatedText":"好"}})",
                           "text/javascript");
    });
    m_service.Start();
    m_route = std::make_unique<testing::ProxyRoute>(m_service);
    MainWindowTest::SetUp();
  }

  testing::LoopbackServer m_service;
  std::unique_ptr<testing::ProxyRoute> m_route;
};

TEST_F(CodePageTest, CharactersOutsideTheCodePageBecomeTheSubstitute) {
  const std::string pasted = "前😀中한间𠀀后 end";
  const std::string sent = AnsiCharset() == "UTF-8" ? pasted : "前?中?间?后 end";
  Paste(pasted);

  const ErrorBoxes boxes = Translate(10s);

  EXPECT_EQ(boxes.count, 0) << boxes.message.utf8_string();
  const std::vector<std::string> targets = m_service.Targets();
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_NE(targets[0].find("&q=" + PercentEncoded(sent)), std::string::npos) << targets[0];
  EXPECT_NE(targets[1].find("&q=" + PercentEncoded(sent) + "&langpair="), std::string::npos) << targets[1];
  EXPECT_EQ(Utf8Of(ResultBox()), "好");
  EXPECT_EQ(Utf8Of(InputBox()), pasted) << "the box itself keeps what was pasted";
}

}  // namespace
}  // namespace parlavo::input
