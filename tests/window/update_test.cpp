#include <wx/utils.h>

#include "services/update_checker.h"
#include "ui/update_command.h"
#include "window_test.h"

namespace parlavo::testing {
namespace {

class UpdateCommand : public MainWindowTest {
 protected:
  void Run(const std::string& file) {
    SetUpdateFile(file);
    RunUpdateCheck(m_window, m_launcher, FetchLimits{5s, 5s});
  }

  std::vector<std::string> m_launched;
  bool m_browserStarts = true;
  BrowserLauncher m_launcher = [this](const wxString& url) {
    m_launched.push_back(url.utf8_string());
    return m_browserStarts;
  };
};

TEST_F(UpdateCommand, AnswersEachOutcomeOfTheCheckUnderABusyCursor) {
  const struct {
    const char* file;
    int answer;
    const char* message;
    bool opensHomePage;
  } cases[] = {
      {"name=parlavo\ntrans=3\n", wxID_YES, "有新的版本", true},
      {"trans=10", wxID_NO, "有新的版本", false},
      {"trans=2", wxID_OK, "您使用的是最新的版本", false},
      {"trans=abc", wxID_OK, "无法获取版本信息", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    m_launched.clear();
    int shown = 0;
    wxTEST_DIALOG(Run(c.file), ExpectBox(c.answer, c.message, shown));
    EXPECT_EQ(m_launched, c.opensHomePage ? std::vector<std::string>{HOME_PAGE_URL} : std::vector<std::string>{});
  }
  EXPECT_EQ(BusyDuringRequests(), std::vector<bool>(4, true));
  EXPECT_FALSE(wxIsBusy());
}

TEST_F(UpdateCommand, ABrowserThatDoesNotStartIsReportedWithTheAddress) {
  m_browserStarts = false;
  int shown = 0;
  wxTEST_DIALOG(Run("trans=3"), ExpectBox(wxID_YES, "有新的版本", shown),
                ExpectBox(wxID_OK, "无法启动网页浏览器，请手动打开官方网站：\nhttp://", shown));
  EXPECT_EQ(m_launched.size(), 1u);
}

TEST_F(UpdateCommand, ANetworkErrorIsLeftToTheCallerWithoutABox) {
  ProxyRoute refused(RefusingProxyUrl());
  GtestModalHook noBox(__FILE__, __LINE__, "no box");
  EXPECT_THROW(Run("trans=3"), InternetError);
  EXPECT_FALSE(wxIsBusy());
}

TEST_F(UpdateCommand, TheHelpMenuOpensItsBoxesOverTheWindow) {
  int shown = 0;
  wxCommandEvent check(wxEVT_MENU, ID_HELP_CHECKUPDATE);
  wxTEST_DIALOG(m_window->ProcessWindowEvent(check), ExpectBox(wxID_OK, "您使用的是最新的版本", shown));
  EXPECT_EQ(Requests(), std::vector<std::string>{UPDATE_URL});
  wxCommandEvent about(wxEVT_MENU, ID_HELP_ABOUT);
  wxTEST_DIALOG(m_window->ProcessWindowEvent(about), wxExpectAny(wxID_OK).Describe(wxS("the About box")));
}

}  // namespace
}  // namespace parlavo::testing
