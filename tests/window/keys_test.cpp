#include <wx/timer.h>
#include <wx/toplevel.h>

#include "window_test.h"

namespace parlavo::testing {
namespace {

using Keys = MainWindowTest;

TEST_F(Keys, ReturnInATextBoxBreaksTheLineAndSendsNothing) {
  for (wxTextCtrl* box : {&InputBox(), &ResultBox()}) {
    Focus(*box);
    m_user.Text("hi");
    m_user.Char(WXK_RETURN);
    EXPECT_TRUE(WaitUntil([box] { return box->GetValue() == wxS("hi\n"); })) << box->GetValue().utf8_string();
  }
  WaitUntil([] { return false; }, 200ms);
  EXPECT_TRUE(Requests().empty());
}

TEST_F(Keys, ReturnOnTheButtonOrAListTranslates) {
  InputBox().ChangeValue(wxS("hi"));
  std::size_t expected = 0;
  for (int id : {IDC_TRANSLATE, IDC_TARGET_LANGUAGE, IDC_SOURCE_LANGUAGE}) {
    SCOPED_TRACE(id);
    Focus(Control(id));
    m_user.Char(WXK_RETURN);
    expected += 2;
    ASSERT_TRUE(WaitForRequests(expected));
    EXPECT_EQ(Requests().back(), TranslateTarget("%68%69", "en|zh"));
  }
}

TEST_F(Keys, CtrlReturnTranslatesFromATextBoxWithoutBreakingTheLine) {
  InputBox().ChangeValue(wxS("hi"));
  std::size_t expected = 0;
  for (wxTextCtrl* box : {&InputBox(), &ResultBox()}) {
    Focus(*box);
    m_user.Char(WXK_RETURN, wxMOD_CONTROL);
    expected += 2;
    ASSERT_TRUE(WaitForRequests(expected));
    ASSERT_TRUE(WaitUntil([this] { return ResultBox().GetValue() == wxS("你好"); }));
  }
  EXPECT_EQ(InputBox().GetValue(), wxS("hi"));
}

// The hook sees keys before an input method: in a text box it must leave
// them to it, or Esc would close the window instead of ending a composition.
TEST_F(Keys, InATextBoxTheHookLeavesKeysToTheInputMethod) {
  Focus(InputBox());
  for (int key : {WXK_ESCAPE, WXK_RETURN}) {
    wxKeyEvent hook(wxEVT_CHAR_HOOK);
    hook.m_keyCode = key;
    hook.SetEventObject(&InputBox());
    m_window->ProcessWindowEvent(hook);
    EXPECT_TRUE(hook.GetSkipped()) << key;
  }
  WaitUntil([] { return false; }, 200ms);
  EXPECT_TRUE(Requests().empty());
  if (wxTopLevelWindows.Find(m_window) == nullptr) m_window = nullptr;
  EXPECT_NE(m_window, nullptr) << "the hook closed the window";
}

TEST(Program, EscapeInTheInputBoxClosesTheWindowAndEndsTheProgram) {
  ASSERT_TRUE(wxTheApp->CallOnInit());
  auto* window = dynamic_cast<wxTopLevelWindow*>(wxTheApp->GetTopWindow());
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitUntilOnScreen(*window));
  wxUIActionSimulator user;
  user.MouseMove(window->GetScreenRect().GetTopLeft() + wxPoint(4, 4));
  ASSERT_TRUE(WaitUntil([window] { return window->IsActive() && window->FindFocus() != nullptr; }));
  ASSERT_EQ(window->FindFocus()->GetId(), IDC_SOURCE_TEXT);
  // Should Esc not close the window, the main loop would never end.
  wxTimer guard;
  guard.Bind(wxEVT_TIMER, [window](wxTimerEvent&) {
    ADD_FAILURE() << "Esc left the window open";
    window->Destroy();
  });
  guard.StartOnce(10000);
  window->CallAfter([&user] { user.Char(WXK_ESCAPE); });
  EXPECT_EQ(wxTheApp->OnRun(), 0);
  EXPECT_EQ(wxTheApp->GetTopWindow(), nullptr);
}

}  // namespace
}  // namespace parlavo::testing
