#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "gui_test.h"
#include "ui/translator_dlg.h"

namespace parlavo::testing {
namespace {

TEST(Application, StartsIntoTheMainWindowAndEndsWhenItCloses) {
  ASSERT_TRUE(wxTheApp->CallOnInit());
  auto* window = dynamic_cast<CTranslatorDlg*>(wxTheApp->GetTopWindow());
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitUntilOnScreen(*window));
  wxUIActionSimulator user;
  user.MouseMove(window->GetScreenRect().GetTopLeft() + wxPoint(4, 4));
  ASSERT_TRUE(WaitUntil([window] { return window->IsActive(); }));

  // Should Esc fail to close it, the main loop would never end.
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
