#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace parlavo {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The character that starts at `pos`; `pos` moves past it. A byte that does
// not start a valid sequence gives U+FFFD and moves `pos` by one.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

// Surrogates and values above U+10FFFF are written as U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

std::size_t CountCodePoints(std::string_view text);

}  // namespace parlavo
