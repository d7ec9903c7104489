#pragma once

#include <wx/frame.h>

#include "net/text.h"
#include "services/translation_client.h"
#include "ui/single_window.h"

class wxChoice;
class wxTextCtrl;

namespace parlavo {

// The main window. GTK dialogs cannot carry a menu bar, so this is a frame
// whose panel behaves like a dialog: fixed size, Return presses the default
// button outside the text boxes, Ctrl+Return anywhere, Esc closes.
class CTranslatorDlg : public wxFrame {
 public:
  explicit CTranslatorDlg(wxWindow* parent = nullptr);

  // Comes to the front; with a selection to translate, puts it in the input
  // box and translates it.
  void TakeRequest(const WindowRequest& request);

 private:
  void CreateControls();
  void CreateMenu();

  bool HandleDialogKey(const wxKeyEvent& event, bool inTextBox);
  void PressDefaultButton();
  void OnCharHook(wxKeyEvent& event);
  void OnTextBoxChar(wxKeyEvent& event);
  void OnTranslate(wxCommandEvent& event);
  void OnActivateToRead(wxActivateEvent& event);
  // Puts the selected text in the input box and translates it; with nothing
  // selected, only the status line changes.
  void TranslateSelection();
  void OnAbout(wxCommandEvent& event);
  void OnCheckUpdate(wxCommandEvent& event);

  LanguageTable m_languages;
  wxChoice* m_cbSource = nullptr;
  wxChoice* m_cbTarget = nullptr;
  wxTextCtrl* m_editSource = nullptr;
  wxTextCtrl* m_editResult = nullptr;
  Text m_strSource;
  Text m_strResult;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace parlavo
