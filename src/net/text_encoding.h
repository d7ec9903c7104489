#pragma once

#include "net/text.h"

namespace parlavo {

// Replaces `text` by its UTF-8 form. Invalid bytes become U+FFFD.
void AnsiToUtf8(Text& text);

// Replaces `text` (taken as UTF-8) by its ANSI form. Characters the code page
// lacks become a look-alike where iconv knows one, otherwise '?'; invalid
// sequences become U+FFFD, or '?' where the code page lacks it.
void Utf8ToAnsi(Text& text);

// Percent-encodes every byte of the UTF-8 form of `text`: always three
// characters per UTF-8 byte, lowercase hexadecimal ("中" -> "%e4%b8%ad").
Text UrlEncode(const Text& text);

}  // namespace parlavo
