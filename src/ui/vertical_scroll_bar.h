#pragma once

#include <wx/textctrl.h>

namespace parlavo {

// Gives a multi-line text box a vertical scroll bar that is always shown and
// takes its own room beside the text. GTK would otherwise lay a thin bar
// over the text only while the pointer is near, and a user could not tell
// that a box holds more lines than it shows.
void ShowVerticalScrollBar(wxTextCtrl& box);

}  // namespace parlavo
