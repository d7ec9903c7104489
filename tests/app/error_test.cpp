#include <gtest/gtest.h>

#include <stdexcept>

#include "main_window_fixture.h"

namespace parlavo::testing {
namespace {

class Errors : public MainWindowTest {
 protected:
  // Presses "翻译" and waits for the error box it brings up.
  ShownBox TranslateIntoErrorBox() {
    ShownBox shown;
    wxTEST_DIALOG(
        {
          Click(TranslateButton());
          EXPECT_TRUE(WaitUntil([&shown] { return shown.count > 0; }));
        },
        RecordedBox(shown));
    return shown;
  }

  void ExpectErrorBox(const ShownBox& shown) {
    EXPECT_EQ(shown.count, 1);
    EXPECT_EQ(shown.caption, wxS("帕拉沃"));
    EXPECT_TRUE(shown.style & wxICON_ERROR);
    EXPECT_TRUE(m_window->IsShown());
  }
};

TEST_F(Errors, UnreachableServiceIsReportedAndTheResultStaysAsItWas) {
  InputBox().ChangeValue(wxS("hi"));
  Click(TranslateButton());
  ASSERT_TRUE(WaitUntil([this] { return ResultBox().GetValue() == wxS("你好"); }));

  ProxyRoute refused(RefusingProxyUrl());
  const ShownBox shown = TranslateIntoErrorBox();

  ExpectErrorBox(shown);
  EXPECT_TRUE(shown.message.StartsWith(wxS("网络错误："))) << shown.message.utf8_string();
  EXPECT_EQ(ResultBox().GetValue(), wxS("你好"));
  EXPECT_EQ(InputBox().GetValue(), wxS("hi"));
}

TEST_F(Errors, AFailedCtrlReturnLeavesTheInputAsTyped) {
  Focus(InputBox());
  m_user.Text("abc");
  ASSERT_TRUE(WaitUntil([this] { return InputBox().GetValue() == wxS("abc"); }));
  ProxyRoute refused(RefusingProxyUrl());
  ShownBox shown;
  wxTEST_DIALOG(
      {
        m_user.Char(WXK_RETURN, wxMOD_CONTROL);
        EXPECT_TRUE(WaitUntil([&shown] { return shown.count > 0; }));
      },
      RecordedBox(shown));
  PumpEvents(300ms);
  ExpectErrorBox(shown);
  EXPECT_EQ(InputBox().GetValue().utf8_string(), "abc");
}

TEST_F(Errors, ServiceErrorReplyIsReportedAsFailedTranslation) {
  SetTranslateReply(BAD_LANGUAGE_PAIR);
  InputBox().ChangeValue(wxS("hi"));
  ResultBox().ChangeValue(wxS("上一次的译文"));
  const ShownBox shown = TranslateIntoErrorBox();

  ExpectErrorBox(shown);
  EXPECT_EQ(shown.message, wxS("翻译失败：invalid translation language pair"));
  EXPECT_EQ(ResultBox().GetValue(), wxS("上一次的译文"));
}

TEST_F(Errors, TheWindowTranslatesAgainAfterAnError) {
  SetTranslateReply(BAD_LANGUAGE_PAIR);
  InputBox().ChangeValue(wxS("hi"));
  ExpectErrorBox(TranslateIntoErrorBox());

  SetTranslateReply(TRANSLATED_HELLO);
  Click(TranslateButton());
  EXPECT_TRUE(WaitUntil([this] { return ResultBox().GetValue() == wxS("你好"); }));
  EXPECT_EQ(Requests().size(), 4u);
}

TEST_F(Errors, AnyOtherFailureOfACommandIsReportedInsteadOfEndingTheProgram) {
  ShownBox shown;
  wxTEST_DIALOG(
      {
        try {
          throw std::runtime_error("无法转换字符集 X → UTF-8");
        } catch (...) {
          EXPECT_TRUE(wxTheApp->OnExceptionInMainLoop());
        }
      },
      RecordedBox(shown));
  ExpectErrorBox(shown);
  EXPECT_EQ(shown.message, wxS("无法转换字符集 X → UTF-8"));
}

}  // namespace
}  // namespace parlavo::testing
