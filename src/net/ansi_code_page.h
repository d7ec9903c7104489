#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "net/text.h"

namespace parlavo {

// The iconv name of the ANSI code page: the LC_CTYPE locale's character set,
// with the plain C/POSIX locale counted as UTF-8.
std::string AnsiCharset();

// Length in bytes of the character that starts at `pos` (at least 1, so that
// invalid bytes are stepped over one at a time).
std::size_t CharLengthAt(std::string_view text, std::size_t pos);

// Substring search over whole characters of the ANSI code page: a match never
// starts on the trail byte of a multi-byte character. Returns Text::npos when
// `key` does not occur at or after `from` (which must be a character boundary).
std::size_t Find(std::string_view text, std::string_view key, std::size_t from = 0);

}  // namespace parlavo
