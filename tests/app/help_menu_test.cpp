#include <gtest/gtest.h>

#include <wx/menu.h>

#include "main_window_fixture.h"
#include "services/update_checker.h"

namespace parlavo::testing {
namespace {

class HelpMenu : public MainWindowTest {
 protected:
  // Opens "帮助" with the mouse and picks its `position`th item with the
  // keyboard (which skips the separator), as a user would.
  void Choose(int position) {
    const wxRect bar = m_window->GetMenuBar()->GetScreenRect();
    m_user.MouseMove(bar.GetTopLeft() + wxPoint(bar.height, bar.height / 2));
    ProcessEvents();
    m_user.MouseClick();
    PumpEvents(200ms);
    for (int step = 0; step < position; ++step) m_user.Char(WXK_DOWN);
    m_user.Char(WXK_RETURN);
  }
};

TEST_F(HelpMenu, HoldsCheckForUpgradeASeparatorAndAbout) {
  wxMenuBar* bar = m_window->GetMenuBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->GetMenuCount(), 1u);
  EXPECT_EQ(bar->GetMenuLabelText(0), wxS("帮助"));
  const wxMenuItemList& items = bar->GetMenu(0)->GetMenuItems();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0]->GetItemLabelText(), wxS("检测升级"));
  EXPECT_TRUE(items[1]->IsSeparator());
  EXPECT_EQ(items[2]->GetItemLabelText(), wxS("关于"));
}

TEST_F(HelpMenu, CheckForUpgradeAsksTheMakersServerAndAnswers) {
  ShownBox shown;
  wxTEST_DIALOG(
      {
        Choose(1);
        EXPECT_TRUE(WaitUntil([&shown] { return shown.count > 0; }));
      },
      RecordedBox(shown));
  EXPECT_EQ(shown.message, wxS("您使用的是最新的版本哦"));
  EXPECT_EQ(Requests(), std::vector<std::string>{UPDATE_URL});
}

TEST_F(HelpMenu, AboutOpensTheAboutBoxOverTheWindow) {
  wxString title;
  const wxWindow* owner = nullptr;
  WhileModal about([&](wxDialog& dialog) {
    title = dialog.GetTitle();
    owner = dialog.GetParent();
    dialog.EndModal(wxID_OK);
  });
  Choose(2);
  EXPECT_TRUE(WaitUntil([&about] { return about.shownCount() == 1; }));
  EXPECT_EQ(title, wxS("关于 Parlavo 帕拉沃"));
  EXPECT_EQ(owner, m_window);
  EXPECT_TRUE(Requests().empty());
}

}  // namespace
}  // namespace parlavo::testing
