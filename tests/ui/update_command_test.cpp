#include "ui/update_command.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "gui_test.h"
#include "loopback_server.h"

namespace parlavo {
namespace {

using testing::LoopbackServer;
using testing::ProxyRoute;
using testing::ScopedFrame;

const std::string MAKER_HOST = PARLAVO_MAKER_HOST;

// What a message box looked like when the command showed it.
struct SeenBox {
  int count = 0;
  std::string message;
  std::string caption;
  long buttons = 0;
  long icon = 0;
  wxWindow* owner = nullptr;
  bool busyCursor = false;
};

class ExpectMessageBox : public wxExpectModalBase<wxMessageDialog, ExpectMessageBox> {
 public:
  ExpectMessageBox(int answer, SeenBox& seen) : m_answer(answer), m_seen(&seen) {}

 protected:
  int OnInvoked(wxMessageDialog* box) const override {
    ++m_seen->count;
    m_seen->message = box->GetMessage().utf8_string();
    m_seen->caption = box->GetTitle().utf8_string();
    m_seen->buttons = box->GetMessageDialogStyle() & (wxYES_NO | wxOK | wxCANCEL | wxHELP);
    m_seen->icon = box->GetEffectiveIcon();
    m_seen->owner = box->GetParent();
    m_seen->busyCursor = wxIsBusy();
    return m_answer;
  }

 private:
  int m_answer;
  SeenBox* m_seen;
};

// The maker's server, reached as the client's proxy, serving `file` as the
// update file.
class UpdateCommandTest : public ::testing::Test {
 protected:
  UpdateCommandTest() {
    m_server.server().Get(".*", [this](const httplib::Request&, httplib::Response& response) {
      m_busyDuringRequest = wxIsBusy();
      std::lock_guard lock(m_mutex);
      response.set_content(m_file, "text/plain");
    });
    m_server.Start();
    m_route.emplace(m_server);
  }

  void Serve(const std::string& file) {
    std::lock_guard lock(m_mutex);
    m_file = file;
  }

  // Runs the command over `owner`, answering its single message box with
  // `answer`.
  SeenBox RunAnswering(int answer) {
    SeenBox seen;
    wxTEST_DIALOG(RunUpdateCheck(owner.get(), launcher, limits), ExpectMessageBox(answer, seen));
    return seen;
  }

  LoopbackServer m_server;
  std::optional<ProxyRoute> m_route;
  ScopedFrame owner{wxRect(100, 100, 400, 300)};
  std::vector<std::string> launched;
  bool browserStarts = true;
  BrowserLauncher launcher = [this](const wxString& url) {
    launched.push_back(url.utf8_string());
    return browserStarts;
  };
  FetchLimits limits{std::chrono::seconds(5), std::chrono::seconds(5)};
  std::atomic<bool> m_busyDuringRequest = false;

 private:
  std::mutex m_mutex;
  std::string m_file;
};

TEST_F(UpdateCommandTest, NewerVersionOffersTheHomePage) {
  Serve("name=parlavo\ntrans=3\n");
  const SeenBox seen = RunAnswering(wxID_YES);
  EXPECT_EQ(seen.count, 1);
  EXPECT_EQ(seen.message, "有新的版本，是否打开官方网站下载新版本？");
  EXPECT_EQ(seen.caption, "有新版本");
  EXPECT_EQ(seen.buttons, wxYES_NO);
  EXPECT_EQ(seen.icon, wxICON_INFORMATION);
  EXPECT_EQ(seen.owner, owner.get());
  EXPECT_EQ(launched, std::vector<std::string>{"http://" + MAKER_HOST});
  EXPECT_EQ(m_server.Targets(), std::vector<std::string>{"http://" + MAKER_HOST + "/orbenix/up.txt"});
}

TEST_F(UpdateCommandTest, ABrowserThatDoesNotStartIsReportedWithTheAddress) {
  Serve("trans=3");
  browserStarts = false;
  SeenBox question;
  SeenBox failure;
  wxTEST_DIALOG(RunUpdateCheck(owner.get(), launcher, limits), ExpectMessageBox(wxID_YES, question),
                ExpectMessageBox(wxID_OK, failure));
  EXPECT_EQ(launched.size(), 1u);
  EXPECT_EQ(failure.message, "无法启动网页浏览器，请手动打开官方网站：\nhttp://" + MAKER_HOST);
  EXPECT_EQ(failure.caption, "帕拉沃");
  EXPECT_EQ(failure.buttons, wxOK);
  EXPECT_EQ(failure.owner, owner.get());
}

TEST_F(UpdateCommandTest, DecliningTheHomePageOpensNothing) {
  Serve("trans=10");
  const SeenBox seen = RunAnswering(wxID_NO);
  EXPECT_EQ(seen.message, "有新的版本，是否打开官方网站下载新版本？");
  EXPECT_TRUE(launched.empty());
}

TEST_F(UpdateCommandTest, TellsWhenThisIsTheLatestVersion) {
  for (const char* file : {"trans=2", "trans=1\n", "trans=2.5"}) {
    SCOPED_TRACE(file);
    Serve(file);
    const SeenBox seen = RunAnswering(wxID_OK);
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.message, "您使用的是最新的版本哦");
    EXPECT_EQ(seen.caption, "提示");
    EXPECT_EQ(seen.buttons, wxOK);
    EXPECT_EQ(seen.icon, wxICON_NONE);
    EXPECT_EQ(seen.owner, owner.get());
  }
  EXPECT_TRUE(launched.empty());
}

TEST_F(UpdateCommandTest, WarnsWhenTheFileGivesNoVersion) {
  for (const char* file : {"version=9\nname=parlavo\n", "trans=abc", ""}) {
    SCOPED_TRACE(file);
    Serve(file);
    const SeenBox seen = RunAnswering(wxID_OK);
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.message, "无法获取版本信息，请稍后再试");
    EXPECT_EQ(seen.caption, "提示");
    EXPECT_EQ(seen.buttons, wxOK);
    EXPECT_EQ(seen.icon, wxICON_WARNING);
  }
  EXPECT_TRUE(launched.empty());
}

TEST_F(UpdateCommandTest, BusyCursorOnlyWhileTheRequestRuns) {
  Serve("trans=1");
  const SeenBox seen = RunAnswering(wxID_OK);
  EXPECT_TRUE(m_busyDuringRequest);
  EXPECT_FALSE(seen.busyCursor);
  EXPECT_FALSE(wxIsBusy());
}

TEST(UpdateCommandNetworkTest, NetworkErrorLeavesTheCommandWithoutAnyBox) {
  ProxyRoute route(testing::RefusingProxyUrl());
  ScopedFrame owner(wxRect(100, 100, 400, 300));
  std::vector<std::string> launched;
  testing::GtestModalHook noBoxExpected(__FILE__, __LINE__, "NetworkErrorLeavesTheCommandWithoutAnyBox");
  EXPECT_THROW(RunUpdateCheck(
                   owner.get(),
                   [&launched](const wxString& url) {
                     launched.push_back(url.utf8_string());
                     return true;
                   },
                   FetchLimits{std::chrono::seconds(5), std::chrono::seconds(5)}),
               InternetError);
  EXPECT_TRUE(launched.empty());
  EXPECT_FALSE(wxIsBusy());
}

}  // namespace
}  // namespace parlavo
