#pragma once

#include <string>

namespace parlavo {

// Bytes in the ANSI code page: the character set of the current LC_CTYPE
// locale (see ansi_code_page.h). Positions and lengths are in bytes.
using Text = std::string;

}  // namespace parlavo
