#include <stdexcept>

#include <wx/choice.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "window_test.h"

namespace parlavo::testing {
namespace {

using Translate = MainWindowTest;

TEST_F(Translate, SendsTheInputAndTheChosenTargetUnderABusyCursor) {
  InputBox().ChangeValue(wxS("hi"));
  Click(Control(IDC_TRANSLATE));
  ASSERT_TRUE(WaitUntil([this] { return ResultBox().GetValue() == wxS("你好"); }));
  Control<wxChoice>(IDC_TARGET_LANGUAGE).SetStringSelection(wxS("英文"));
  Click(Control(IDC_TRANSLATE));
  ASSERT_TRUE(WaitForRequests(4));

  EXPECT_EQ(Requests(), (std::vector<std::string>{DetectTarget("%68%69"), TranslateTarget("%68%69", "en|zh"),
                                                  DetectTarget("%68%69"), TranslateTarget("%68%69", "en|zh")}));
  EXPECT_EQ(BusyDuringRequests(), std::vector<bool>(4, true));
  EXPECT_FALSE(wxIsBusy());
}

// English text with 英文 chosen goes into Chinese; the list keeps the choice
// and the status line tells the engine, why it answered and the direction.
TEST_F(Translate, TheStatusLineTellsWhoTranslatedWhichWay) {
  SetTranslateReply(R"({"responseData":{"translatedText":"你好","engine":"dictionary"},)"
                    R"("responseDetails":"在线翻译均无法连接","responseStatus":200})");
  Control<wxChoice>(IDC_TARGET_LANGUAGE).SetStringSelection(wxS("英文"));
  InputBox().ChangeValue(wxS("hi"));
  Click(Control(IDC_TRANSLATE));
  ASSERT_TRUE(WaitUntil([this] { return ResultBox().GetValue() == wxS("你好"); }));
  EXPECT_EQ(Requests().back(), TranslateTarget("%68%69", "en|zh"));
  EXPECT_EQ(m_window->GetStatusBar()->GetStatusText(), wxS("离线词典（在线翻译均无法连接）：英文 → 中文"));
  EXPECT_EQ(Control<wxChoice>(IDC_TARGET_LANGUAGE).GetStringSelection(), wxS("英文"));
}

// A failure is told in a box; the result box keeps the last translation, the
// input box what was typed, and the window goes on translating.
TEST_F(Translate, AFailureIsShownAndNothingIsLost) {
  const struct {
    const char* message;
    bool refused;  // else the service answers with an error
  } failures[] = {{"网络错误：", true}, {"翻译失败：", false}};
  for (const auto& failure : failures) {
    SCOPED_TRACE(failure.message);
    SetTranslateReply(R"({"responseData":{"translatedText":"你好"},"responseStatus":200})");
    InputBox().ChangeValue(wxS("hi"));
    Click(Control(IDC_TRANSLATE));
    ASSERT_TRUE(WaitUntil([this] { return ResultBox().GetValue() == wxS("你好"); }));
    ResultBox().ChangeValue(wxS("上一次的译文"));

    std::optional<ProxyRoute> refused;
    if (failure.refused)
      refused.emplace(RefusingProxyUrl());
    else
      SetTranslateReply(R"({"responseData":null,"responseDetails":"bad pair","responseStatus":400})");
    int shown = 0;
    wxTEST_DIALOG(
        {
          Click(Control(IDC_TRANSLATE));
          EXPECT_TRUE(WaitUntil([&shown] { return shown > 0; }));
        },
        ExpectBox(wxID_OK, failure.message, shown));
    EXPECT_EQ(ResultBox().GetValue(), wxS("上一次的译文"));
    EXPECT_EQ(InputBox().GetValue(), wxS("hi"));
    EXPECT_EQ(m_window->GetStatusBar()->GetStatusText(), wxString());
    EXPECT_TRUE(m_window->IsShown());
  }
}

TEST_F(Translate, AFailedCtrlReturnLeavesTheInputAsTyped) {
  Focus(InputBox());
  m_user.Text("abc");
  ASSERT_TRUE(WaitUntil([this] { return InputBox().GetValue() == wxS("abc"); }));
  ProxyRoute refused(RefusingProxyUrl());
  int shown = 0;
  wxTEST_DIALOG(
      {
        m_user.Char(WXK_RETURN, wxMOD_CONTROL);
        EXPECT_TRUE(WaitUntil([&shown] { return shown > 0; }));
      },
      ExpectBox(wxID_OK, "网络错误：", shown));
  WaitUntil([] { return false; }, 200ms);
  EXPECT_EQ(InputBox().GetValue(), wxS("abc"));
}

TEST(Program, AnyOtherFailureOfACommandIsShownInsteadOfEndingIt) {
  int shown = 0;
  wxTEST_DIALOG(
      {
        try {
          throw std::runtime_error("无法转换字符集");
        } catch (...) {
          EXPECT_TRUE(wxTheApp->OnExceptionInMainLoop());
        }
      },
      ExpectBox(wxID_OK, "无法转换字符集", shown));
}

}  // namespace
}  // namespace parlavo::testing
