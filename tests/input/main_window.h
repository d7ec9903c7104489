#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include <wx/modalhook.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "gui_test.h"
#include "ui/translator_dlg.h"

namespace parlavo::input {

using namespace std::chrono_literals;

struct ErrorBoxes {
  int count = 0;
  wxString message;
};

// While it lives, message boxes are recorded and answered with OK instead
// of being shown; unlike wxTEST_DIALOG it does not insist on one.
class ErrorBoxRecorder : public wxModalDialogHook {
 public:
  explicit ErrorBoxRecorder(ErrorBoxes& boxes);
  ~ErrorBoxRecorder() override;
  ErrorBoxRecorder(const ErrorBoxRecorder&) = delete;
  ErrorBoxRecorder& operator=(const ErrorBoxRecorder&) = delete;

 protected:
  int Enter(wxDialog* dialog) override;
  void Exit(wxDialog*) override {}

 private:
  ErrorBoxes& m_boxes;
};

// The main window on screen, driven the way a user drives it. The tests
// route the service's host to a server of their own (ProxyRoute).
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  wxTextCtrl& InputBox() const;
  wxTextCtrl& ResultBox() const;

  // Puts `utf8` on the clipboard and presses Ctrl+V in the input box;
  // returns once the box holds as much text as was pasted.
  void Paste(const std::string& utf8);
  // Presses "翻译" and handles events until the result box changes or an
  // error box comes up (or `timeout` passes).
  ErrorBoxes Translate(std::chrono::milliseconds timeout);

  CTranslatorDlg* m_window = nullptr;
  wxUIActionSimulator m_user;
};

// The box's whole content, as UTF-8 bytes.
std::string Utf8Of(const wxTextCtrl& box);

}  // namespace parlavo::input
