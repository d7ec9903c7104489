#pragma once

#include <string>
#include <string_view>

// Byte-wise helpers that never consult the locale: protocol text (codes,
// host names, hex escapes) reads the same whatever LC_CTYPE says.
namespace parlavo {

// 0-15 for 0-9, a-f, A-F; -1 for anything else.
int HexDigitValue(char c);

bool IsAsciiAlphanumeric(char c);

// A-Z become a-z; every other byte stays.
std::string ToLowerAscii(std::string_view text);

// `text` without the leading and trailing bytes that are in `blanks`.
std::string_view TrimAscii(std::string_view text, std::string_view blanks = " \t\r\n");

}  // namespace parlavo
