#pragma once

#include <cstddef>
#include <string_view>

namespace parlavo {

// The writing systems the service tells apart when a text is too short for
// statistical language detection.
enum class Script { None, Latin, Han, Kana, Hangul, Cyrillic, Greek, Arabic, Hebrew, Thai };

// Script of a letter; None for digits, punctuation, blanks and symbols.
Script ScriptOf(char32_t codePoint);

bool IsHan(char32_t codePoint);

// Whether the UTF-8 text holds a Han character.
bool ContainsHan(std::string_view text);
// Whether the UTF-8 text is not empty and holds Han characters only.
bool IsAllHan(std::string_view text);
// Where the run of Han characters that starts at `pos` ends (`pos` itself
// when none starts there).
std::size_t HanRunEnd(std::string_view text, std::size_t pos);

}  // namespace parlavo
