#pragma once

#include <wx/string.h>

#include "net/text.h"

namespace parlavo {

// The core speaks Text, bytes in the locale's character set; the windows
// speak wxString.

// Characters the locale's character set lacks become look-alikes or '?'.
Text ToText(const wxString& text);

// Invalid bytes show as U+FFFD instead of emptying the whole string.
wxString FromText(const Text& text);

// For UTF-8 strings such as the what() of our exceptions.
wxString FromUtf8(const char* text);

}  // namespace parlavo
