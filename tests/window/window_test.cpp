#include "window_test.h"

#include <gtk/gtk.h>

#include <cstdio>

#include <wx/init.h>
#include <wx/utils.h>

#include "services/translation_client.h"
#include "services/update_checker.h"
#include "ui/translator_app.h"

namespace parlavo::testing {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    wxTheApp->Yield(true);
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    wxMilliSleep(5);
  }
}

bool WaitUntilOnScreen(const wxWindow& window) {
  return WaitUntil([&window] { return gtk_widget_get_mapped(window.GetHandle()) && window.IsShownOnScreen(); });
}

std::string DetectTarget(const std::string& query) {
  return std::string("http://") + SERVICE_HOST + "/ajax/services/language/detect?v=1.0&q=" + query;
}

std::string TranslateTarget(const std::string& query, const std::string& languagePair) {
  return std::string("http://") + SERVICE_HOST + "/ajax/services/language/translate?v=1.0&q=" + query +
         "&langpair=" + languagePair;
}

void MainWindowTest::SetUp() {
  SetTranslateReply(R"({"responseData":{"translatedText":"你好"},"responseDetails":null,"responseStatus":200})");
  m_server.server().Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    // The window's thread waits for this reply: its busy state holds.
    std::lock_guard lock(m_mutex);
    m_busy.push_back(wxIsBusy());
    if (request.target.find("/language/detect?") != std::string::npos)
      response.set_content(R"({"responseData":{"language":"en"},"responseStatus":200})", "text/javascript");
    else if (request.target.find("/language/translate?") != std::string::npos)
      response.set_content(m_translateReply, "text/javascript; charset=utf-8");
    else if (request.target == UPDATE_URL)
      response.set_content(m_updateFile, "text/plain");
    else
      response.status = 404;
  });
  m_server.Start();
  m_route.emplace(m_server);

  m_window = new CTranslatorDlg(nullptr);
  m_window->Show();
  ASSERT_TRUE(WaitUntilOnScreen(*m_window));
  // Without a window manager the keyboard follows the pointer.
  m_user.MouseMove(m_window->GetScreenRect().GetTopLeft() + wxPoint(4, 4));
  ASSERT_TRUE(WaitUntil([this] { return m_window->IsActive(); }));
}

void MainWindowTest::TearDown() {
  if (m_window != nullptr) m_window->Destroy();
  wxTheApp->Yield(true);
}

void MainWindowTest::Focus(wxWindow& control) {
  control.SetFocus();
  GtkWindow* window = GTK_WINDOW(m_window->GetHandle());
  // The button inside a drop-down list takes the keyboard for the list.
  ASSERT_TRUE(WaitUntil([window, &control] {
    GtkWidget* focus = gtk_window_get_focus(window);
    return focus != nullptr && (focus == control.GetHandle() || gtk_widget_is_ancestor(focus, control.GetHandle()));
  }));
}

void MainWindowTest::Click(const wxWindow& control) {
  const wxRect where = control.GetScreenRect();
  m_user.MouseMove(where.GetTopLeft() + wxPoint(where.width / 2, where.height / 2));
  wxTheApp->Yield(true);
  m_user.MouseClick();
}

bool MainWindowTest::WaitForRequests(std::size_t count) {
  return WaitUntil([this, count] { return m_server.Targets().size() >= count; });
}

std::vector<bool> MainWindowTest::BusyDuringRequests() const {
  std::lock_guard lock(m_mutex);
  return m_busy;
}

}  // namespace parlavo::testing

namespace {
void FailOnAssertion(const wxString& file, int line, const wxString&, const wxString& condition, const wxString&) {
  ADD_FAILURE_AT(file.utf8_string().c_str(), line) << "wx assertion failed: " << condition.utf8_string();
}
}  // namespace

// The program's own application object and locale, so that failed commands
// are reported by its own exception hook. OnInit runs only where a test
// calls it.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // ctest lists the tests at build time, where there may be no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  parlavo::UseUserLocale();
  wxApp::SetInstance(new parlavo::CTranslatorApp);
  if (!wxEntryStart(argc, argv)) {
    std::fputs("cannot start wxWidgets: run the tests under xvfb-run -a\n", stderr);
    return 1;
  }
  wxSetAssertHandler(FailOnAssertion);
  const int result = RUN_ALL_TESTS();
  wxEntryCleanup();
  return result;
}
