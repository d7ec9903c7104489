#include "main_window_fixture.h"

#include <gtk/gtk.h>

#include <wx/utils.h>

#include "services/translation_client.h"
#include "services/update_checker.h"

namespace parlavo::testing {

std::string DetectTarget(const std::string& query) {
  return std::string("http://") + SERVICE_HOST + "/ajax/services/language/detect?v=1.0&q=" + query;
}

std::string TranslateTarget(const std::string& query, const std::string& languagePair) {
  return std::string("http://") + SERVICE_HOST + "/ajax/services/language/translate?v=1.0&q=" + query +
         "&langpair=" + languagePair;
}

void MainWindowTest::SetUp() {
  m_server.server().Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    const std::string& target = request.target;
    {
      // The window's thread waits for this reply, so it cannot change the
      // busy state while it is read here.
      std::lock_guard lock(m_mutex);
      m_busy.push_back(wxIsBusy());
    }
    if (target.find("/language/detect?") != std::string::npos) {
      response.set_content(DETECTED_ENGLISH, "text/javascript; charset=utf-8");
    } else if (target.find("/language/translate?") != std::string::npos) {
      std::lock_guard lock(m_mutex);
      response.set_content(m_translateReply, "text/javascript; charset=utf-8");
    } else if (target == UPDATE_URL) {
      response.set_content("trans=2\n", "text/plain");
    } else {
      response.status = 404;
    }
  });
  m_server.Start();
  m_route = std::make_unique<ProxyRoute>(m_server);

  m_window = new CTranslatorDlg(nullptr);
  m_window->Show();
  ASSERT_TRUE(WaitUntilOnScreen(*m_window));
  // Without a window manager the keyboard follows the pointer.
  m_user.MouseMove(m_window->GetScreenRect().GetTopLeft() + wxPoint(4, 4));
  ASSERT_TRUE(WaitUntil([this] { return m_window->IsActive(); }));
}

void MainWindowTest::TearDown() {
  if (m_window != nullptr) m_window->Destroy();
  ProcessEvents();
}

void MainWindowTest::Focus(wxWindow& control) {
  control.SetFocus();
  ASSERT_TRUE(WaitUntil([this, &control] { return HasKeyboardFocus(control); }));
}

void MainWindowTest::Click(const wxWindow& control) {
  const wxRect where = control.GetScreenRect();
  m_user.MouseMove(where.GetTopLeft() + wxPoint(where.width / 2, where.height / 2));
  ProcessEvents();
  m_user.MouseClick();
}

bool MainWindowTest::HasKeyboardFocus(const wxWindow& control) const {
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(m_window->GetHandle()));
  GtkWidget* widget = control.GetHandle();
  return focus != nullptr && (focus == widget || gtk_widget_is_ancestor(focus, widget));
}

std::vector<bool> MainWindowTest::BusyDuringRequests() const {
  std::lock_guard lock(m_mutex);
  return m_busy;
}

void MainWindowTest::SetTranslateReply(const std::string& body) {
  std::lock_guard lock(m_mutex);
  m_translateReply = body;
}

bool MainWindowTest::WaitForRequests(std::size_t count) {
  return WaitUntil([this, count] { return m_server.Targets().size() >= count; });
}

}  // namespace parlavo::testing
