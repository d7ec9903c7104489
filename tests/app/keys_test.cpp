#include <gtest/gtest.h>

#include <wx/toplevel.h>

#include "main_window_fixture.h"

namespace parlavo::testing {
namespace {

using Keys = MainWindowTest;

TEST_F(Keys, ReturnInEitherTextBoxBreaksTheLineAndSendsNothing) {
  Focus(InputBox());
  m_user.Text("hi");
  m_user.Char(WXK_RETURN);
  ASSERT_TRUE(WaitUntil([this] { return InputBox().GetValue() == wxS("hi\n"); }));
  Focus(ResultBox());
  m_user.Char(WXK_RETURN);
  ASSERT_TRUE(WaitUntil([this] { return ResultBox().GetValue() == wxS("\n"); }));
  PumpEvents(300ms);
  EXPECT_TRUE(Requests().empty());

  // wx's line break inside the boxes is LF.
  Click(TranslateButton());
  ASSERT_TRUE(WaitForRequests(2));
  EXPECT_EQ(Requests()[0], DetectTarget("%68%69%0a"));
}

TEST_F(Keys, ReturnOnTheButtonOrOnAListTranslates) {
  InputBox().ChangeValue(wxS("hi"));
  std::size_t expected = 0;
  for (wxWindow* control : {&TranslateButton(), static_cast<wxWindow*>(&TargetList()),
                            static_cast<wxWindow*>(&SourceList())}) {
    SCOPED_TRACE(control->GetId());
    Focus(*control);
    m_user.Char(WXK_RETURN);
    expected += 2;
    ASSERT_TRUE(WaitForRequests(expected));
    EXPECT_EQ(Requests().back(), TranslateTarget("%68%69", "en|zh"));
  }
  PumpEvents(100ms);
  EXPECT_EQ(Requests().size(), expected);
}

TEST_F(Keys, CtrlReturnTranslatesFromTheTextBoxesWithoutBreakingTheLine) {
  InputBox().ChangeValue(wxS("hi"));
  std::size_t expected = 0;
  for (wxTextCtrl* box : {&InputBox(), &ResultBox()}) {
    Focus(*box);
    m_user.Char(WXK_RETURN, wxMOD_CONTROL);
    expected += 2;
    ASSERT_TRUE(WaitForRequests(expected));
  }
  ASSERT_TRUE(WaitUntil([this] { return ResultBox().GetValue() == wxS("你好"); }));
  EXPECT_EQ(InputBox().GetValue(), wxS("hi"));
  EXPECT_EQ(Requests().back(), TranslateTarget("%68%69", "en|zh"));
}

TEST_F(Keys, TabVisitsTheControlsInDialogOrder) {
  Focus(InputBox());
  for (wxWindow* next : {static_cast<wxWindow*>(&ResultBox()), &TranslateButton(),
                         static_cast<wxWindow*>(&TargetList()), static_cast<wxWindow*>(&SourceList())}) {
    m_user.Char(WXK_TAB);
    EXPECT_TRUE(WaitUntil([this, next] { return HasKeyboardFocus(*next); })) << "expected control " << next->GetId();
  }
}

TEST_F(Keys, EscapeClosesTheWindow) {
  Focus(InputBox());
  m_user.Char(WXK_ESCAPE);
  const wxWindow* const closed = m_window;
  EXPECT_TRUE(WaitUntil([closed] { return wxTopLevelWindows.Find(closed) == nullptr; }));
  if (wxTopLevelWindows.Find(closed) == nullptr) m_window = nullptr;
}

}  // namespace
}  // namespace parlavo::testing
