#include "text/unicode_script.h"

#include "text/utf8.h"

namespace parlavo {

namespace {

bool InRange(char32_t c, char32_t first, char32_t last) { return c >= first && c <= last; }

}  // namespace

bool IsHan(char32_t c) {
  return InRange(c, 0x3400, 0x4DBF) || InRange(c, 0x4E00, 0x9FFF) || InRange(c, 0xF900, 0xFAFF) ||
         InRange(c, 0x20000, 0x323AF) || c == 0x3007;
}

Script ScriptOf(char32_t c) {
  if (InRange(c, 'A', 'Z') || InRange(c, 'a', 'z') || (InRange(c, 0xC0, 0x24F) && c != 0xD7 && c != 0xF7) ||
      InRange(c, 0x1E00, 0x1EFF) || InRange(c, 0xFF21, 0xFF3A) || InRange(c, 0xFF41, 0xFF5A)) {
    return Script::Latin;
  }
  if (IsHan(c)) return Script::Han;
  if (InRange(c, 0x3041, 0x30FF) || InRange(c, 0x31F0, 0x31FF) || InRange(c, 0xFF66, 0xFF9D)) {
    return Script::Kana;
  }
  if (InRange(c, 0xAC00, 0xD7A3) || InRange(c, 0x1100, 0x11FF) || InRange(c, 0x3131, 0x318E)) {
    return Script::Hangul;
  }
  if (InRange(c, 0x400, 0x52F)) return Script::Cyrillic;
  if (InRange(c, 0x370, 0x3FF) && c != 0x37E && c != 0x387) return Script::Greek;
  if (InRange(c, 0x620, 0x64A) || InRange(c, 0x671, 0x6D3)) return Script::Arabic;
  if (InRange(c, 0x5D0, 0x5EA)) return Script::Hebrew;
  if (InRange(c, 0xE01, 0xE30) || InRange(c, 0xE40, 0xE45)) return Script::Thai;
  return Script::None;
}

bool ContainsHan(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    if (IsHan(NextCodePoint(text, pos))) return true;
  }
  return false;
}

bool IsAllHan(std::string_view text) {
  return !text.empty() && HanRunEnd(text, 0) == text.size();
}

std::size_t HanRunEnd(std::string_view text, std::size_t pos) {
  while (pos < text.size()) {
    std::size_t after = pos;
    if (!IsHan(NextCodePoint(text, after))) break;
    pos = after;
  }
  return pos;
}

}  // namespace parlavo
