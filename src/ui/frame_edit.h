#pragma once

#include <wx/textctrl.h>

namespace parlavo {

// A multi-line text box that, every time it paints, draws a 1-pixel
// light-red line along the inside of its visible text area; its own
// background and text stay as they are.
class CFrameEdit : public wxTextCtrl {
 public:
  CFrameEdit(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size, long style);
};

}  // namespace parlavo
