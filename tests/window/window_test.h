#pragma once

// Tests of the program's windows on a real X display (run them under
// xvfb-run -a). They run outside any main loop: the test body calls the code
// and lets the window system catch up with WaitUntil.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "loopback_server.h"
#include "ui/command_ids.h"
#include "ui/translator_dlg.h"

namespace parlavo::testing {

using namespace std::chrono_literals;

// Handles events until `condition` holds or `timeout` passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s);
bool WaitUntilOnScreen(const wxWindow& window);

}  // namespace parlavo::testing

#define wxTEST_DIALOG_HOOK_CLASS ::parlavo::testing::GtestModalHook
#include <wx/testing.h>

namespace parlavo::testing {

class GtestModalHook : public wxTestingModalHook {
 public:
  using wxTestingModalHook::wxTestingModalHook;

 protected:
  // Missing dialogs fail the test; unexpected ones are answered with Cancel.
  int Enter(wxDialog* dialog) override {
    const int answer = wxTestingModalHook::Enter(dialog);
    return answer == wxID_NONE ? wxID_CANCEL : answer;
  }
  void ReportFailure(const wxString& message) override { ADD_FAILURE() << message.utf8_string(); }
};

// A message box whose text starts with `start`, answered with `answer`;
// `shown` counts the boxes so that a test can wait for one.
class ExpectBox : public wxExpectModal<wxMessageDialog> {
 public:
  ExpectBox(int answer, const char* start, int& shown)
      : wxExpectModal(answer), m_start(wxString::FromUTF8(start)), m_shown(&shown) {}

 protected:
  int OnInvoked(wxMessageDialog* box) const override {
    ++*m_shown;
    EXPECT_TRUE(box->GetMessage().StartsWith(m_start)) << box->GetMessage().utf8_string();
    return wxExpectModal::OnInvoked(box);
  }

 private:
  wxString m_start;
  int* m_shown;
};

// The main window on screen, with a loopback server standing in for the
// translation service and the maker's server.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  template <class T = wxWindow>
  T& Control(int id) const {
    return *dynamic_cast<T*>(m_window->FindWindow(id));
  }
  wxTextCtrl& InputBox() const { return Control<wxTextCtrl>(IDC_SOURCE_TEXT); }
  wxTextCtrl& ResultBox() const { return Control<wxTextCtrl>(IDC_RESULT_TEXT); }

  // Gives `control` the keyboard as the window system sees it.
  void Focus(wxWindow& control);
  void Click(const wxWindow& control);
  void SetTranslateReply(const std::string& body) { Set(m_translateReply, body); }
  void SetUpdateFile(const std::string& body) { Set(m_updateFile, body); }
  std::vector<std::string> Requests() const { return m_server.Targets(); }
  bool WaitForRequests(std::size_t count);
  // For each request, whether the window showed the busy cursor meanwhile.
  std::vector<bool> BusyDuringRequests() const;

  CTranslatorDlg* m_window = nullptr;
  wxUIActionSimulator m_user;
  LoopbackServer m_server;
  std::optional<ProxyRoute> m_route;

 private:
  void Set(std::string& reply, const std::string& body) {
    std::lock_guard lock(m_mutex);
    reply = body;
  }

  mutable std::mutex m_mutex;
  std::string m_translateReply;
  std::string m_updateFile = "trans=2\n";
  std::vector<bool> m_busy;
};

// Request targets as the service sees them through the proxy.
std::string DetectTarget(const std::string& query);
std::string TranslateTarget(const std::string& query, const std::string& languagePair);

}  // namespace parlavo::testing
