#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <wx/choice.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "gui_test.h"
#include "loopback_server.h"
#include "ui/command_ids.h"
#include "ui/translator_dlg.h"

namespace parlavo::testing {

inline const char* const DETECTED_ENGLISH =
    R"({"responseData":{"language":"en","isReliable":true,"confidence":0.9},"responseDetails":null,"responseStatus":200})";
inline const char* const TRANSLATED_HELLO =
    R"({"responseData":{"translatedText":"你好"},"responseDetails":null,"responseStatus":200})";
inline const char* const BAD_LANGUAGE_PAIR =
    R"({"responseData":null,"responseDetails":"invalid translation language pair","responseStatus":400})";

struct ShownBox {
  int count = 0;
  wxString message;
  wxString caption;
  long style = 0;
};

// A message box that is recorded instead of shown, and answered with OK.
class RecordedBox : public wxExpectModalBase<wxMessageDialog, RecordedBox> {
 public:
  explicit RecordedBox(ShownBox& shown) : m_shown(&shown) {}

 protected:
  int OnInvoked(wxMessageDialog* box) const override {
    ++m_shown->count;
    m_shown->message = box->GetMessage();
    m_shown->caption = box->GetCaption();
    m_shown->style = box->GetMessageDialogStyle();
    return wxID_OK;
  }

 private:
  ShownBox* m_shown;
};

// Request targets as the service receives them through the proxy.
std::string DetectTarget(const std::string& query);
std::string TranslateTarget(const std::string& query, const std::string& languagePair);

// The main window, open on screen, with a loopback server standing in for
// the translation service and the maker's server.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  wxTextCtrl& InputBox() const { return Control<wxTextCtrl>(IDC_SOURCE_TEXT); }
  wxTextCtrl& ResultBox() const { return Control<wxTextCtrl>(IDC_RESULT_TEXT); }
  wxChoice& TargetList() const { return Control<wxChoice>(IDC_TARGET_LANGUAGE); }
  wxChoice& SourceList() const { return Control<wxChoice>(IDC_SOURCE_LANGUAGE); }
  wxWindow& TranslateButton() const { return Control<wxWindow>(IDC_TRANSLATE); }

  template <class T>
  T& Control(int id) const {
    T* control = dynamic_cast<T*>(m_window->FindWindow(id));
    if (control == nullptr) throw std::logic_error("the main window lacks control " + std::to_string(id));
    return *control;
  }

  // Moves the keyboard focus the way a user would see it: the window system
  // sends key presses to `control` afterwards.
  void Focus(wxWindow& control);
  void Click(const wxWindow& control);
  // Whether key presses go to `control` (or to a part of it, such as the
  // button inside a drop-down list, which wx itself does not track).
  bool HasKeyboardFocus(const wxWindow& control) const;

  void SetTranslateReply(const std::string& body);
  std::vector<std::string> Requests() const { return m_server.Targets(); }
  // For each request, whether the window showed the busy cursor meanwhile.
  std::vector<bool> BusyDuringRequests() const;
  // Waits until the service has had `count` requests in all.
  bool WaitForRequests(std::size_t count);

  CTranslatorDlg* m_window = nullptr;
  wxUIActionSimulator m_user;
  LoopbackServer m_server;
  std::unique_ptr<ProxyRoute> m_route;

 private:
  mutable std::mutex m_mutex;
  std::string m_translateReply = TRANSLATED_HELLO;
  std::vector<bool> m_busy;
};

}  // namespace parlavo::testing
