#pragma once

#include <wx/font.h>

namespace parlavo {

// The font of our dialogs, and so of their dialog units: 9-point "宋体"
// where the face is installed, otherwise the Simplified Chinese font that
// fontconfig prefers, at 9 points.
wxFont MakeDialogFont();

}  // namespace parlavo
