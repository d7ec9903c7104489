#pragma once

namespace parlavo {

// The writing systems the service tells apart when a text is too short for
// statistical language detection.
enum class Script { None, Latin, Han, Kana, Hangul, Cyrillic, Greek, Arabic, Hebrew, Thai };

// Script of a letter; None for digits, punctuation, blanks and symbols.
Script ScriptOf(char32_t codePoint);

bool IsHan(char32_t codePoint);

}  // namespace parlavo
