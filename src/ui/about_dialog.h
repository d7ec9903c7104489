#pragma once

#include <wx/dialog.h>
#include <wx/textctrl.h>

#include "ui/frame_edit.h"

namespace parlavo {

inline constexpr int IDC_ABOUT_INFO = 1004;
inline constexpr int IDC_ABOUT_DONATE = 1005;

// The About box: the author's contact details and the change history above,
// a donation appeal in a framed box below, and "确定".
class CAboutDlg : public wxDialog {
 public:
  explicit CAboutDlg(wxWindow* owner);

 private:
  void OnShowWindow(wxShowEvent& event);

  CFrameEdit* m_editDonate = nullptr;
  wxTextCtrl* m_editInfo = nullptr;
};

// Runs the About box modally over `owner`.
void ShowAboutDialog(wxWindow* owner);

}  // namespace parlavo
