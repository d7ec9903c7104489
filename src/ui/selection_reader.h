#pragma once

#include <string>

#include <wx/string.h>

namespace parlavo {

struct Selection {
  wxString text;
  wxString note;  // for the status line: where the text came from, or why it is missing or cut
};

// The text selected anywhere on the desktop (the primary selection), else
// the clipboard's. Any bytes at all come back as text the boxes can hold.
Selection ReadSelection();

// `bytes` as UTF-8 a text box can hold (invalid bytes and NUL become U+FFFD),
// cut at a character boundary to the most one request carries
// (MAX_TEXT_BYTES); `cut` says whether it was.
std::string SelectionText(const std::string& bytes, bool& cut);

}  // namespace parlavo
