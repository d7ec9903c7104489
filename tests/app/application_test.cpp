#include <gtest/gtest.h>

#include <langinfo.h>

#include <cstdlib>
#include <string>

#include <wx/app.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "gui_test.h"
#include "ui/translator_app.h"
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

TEST(Application, TakesTheUsersCharacterSetAndUtf8WhereThatIsPlainAscii) {
  const char* saved = std::getenv("LC_ALL");
  const std::string previous = saved != nullptr ? saved : "";
  const auto takeLocale = [](const char* name) {
    setenv("LC_ALL", name, 1);
    UseUserLocale();
    return std::string(nl_langinfo(CODESET));
  };

  EXPECT_EQ(takeLocale("zh_CN.GBK"), "GBK");
  EXPECT_EQ(takeLocale("zh_CN.UTF-8"), "UTF-8");
  EXPECT_EQ(takeLocale("C"), "UTF-8");

  if (saved != nullptr)
    setenv("LC_ALL", previous.c_str(), 1);
  else
    unsetenv("LC_ALL");
  UseUserLocale();
}

}  // namespace
}  // namespace parlavo::testing
