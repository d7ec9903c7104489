// Run in UTF-8 and GBK: the window holds the locale's code page, the service UTF-8.
#include "net/ansi_code_page.h"
#include "window_test.h"

namespace parlavo::testing {
namespace {

using CodePage = MainWindowTest;

TEST_F(CodePage, ChineseGoesOutAsUtf8AndTheReplyIsShownAsWritten) {
  InputBox().ChangeValue(wxS("中文"));
  Click(Control(IDC_TRANSLATE));
  ASSERT_TRUE(WaitUntil([this] { return ResultBox().GetValue() == wxS("你好"); }))
      << ResultBox().GetValue().utf8_string();
  EXPECT_EQ(Requests()[1], TranslateTarget("%e4%b8%ad%e6%96%87", "en|zh"));
}

TEST_F(CodePage, CharactersTheCodePageLacksGoOutAsQuestionMarks) {
  // 前😀中 in UTF-8, and with '?' for the emoji.
  const wxString typed = wxString::FromUTF8("前\xF0\x9F\x98\x80中");
  const std::string sent = AnsiCharset() == "UTF-8" ? "%e5%89%8d%f0%9f%98%80%e4%b8%ad" : "%e5%89%8d%3f%e4%b8%ad";
  InputBox().ChangeValue(typed);
  Click(Control(IDC_TRANSLATE));
  ASSERT_TRUE(WaitForRequests(2));
  EXPECT_EQ(Requests()[0], DetectTarget(sent));
  EXPECT_EQ(InputBox().GetValue(), typed) << "the box keeps what was typed";
}

}  // namespace
}  // namespace parlavo::testing
