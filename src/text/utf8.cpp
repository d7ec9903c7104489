#include "text/utf8.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace parlavo {

namespace {

// Length and value of the valid sequence at `pos`, or 0 when there is none.
std::size_t DecodeAt(std::string_view text, std::size_t pos, char32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1F;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0F;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07;
    minimum = 0x10000;
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF) return 0;
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
  return length;
}

}  // namespace

namespace {

// For each lead byte: the sequence's length (0: not a lead byte) and the
// allowed range of the second byte, which rules out overlong forms,
// surrogates and values above U+10FFFF.
struct LeadByte {
  unsigned char length, low, high;
};
constexpr auto kLeadBytes = [] {
  std::array<LeadByte, 256> table{};
  for (int byte = 0xC2; byte <= 0xDF; ++byte) table[byte] = {2, 0x80, 0xBF};
  for (int byte = 0xE0; byte <= 0xEF; ++byte) table[byte] = {3, 0x80, 0xBF};
  for (int byte = 0xF0; byte <= 0xF4; ++byte) table[byte] = {4, 0x80, 0xBF};
  table[0xE0].low = 0xA0;
  table[0xED].high = 0x9F;
  table[0xF0].low = 0x90;
  table[0xF4].high = 0x8F;
  return table;
}();

}  // namespace

bool IsValidUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    // Plain ASCII runs are the common case: eight bytes at a time.
    while (end - p >= 8) {
      std::uint64_t block;
      std::memcpy(&block, p, sizeof block);
      if (block & 0x8080808080808080ull) break;
      p += 8;
    }
    while (p < end && *p < 0x80) ++p;
    if (p == end) break;
    const LeadByte lead = kLeadBytes[*p];
    if (lead.length == 0 || end - p < lead.length || p[1] < lead.low || p[1] > lead.high) return false;
    for (std::size_t i = 2; i < lead.length; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
    }
    p += lead.length;
  }
  return true;
}

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  char32_t codePoint = 0;
  const std::size_t length = DecodeAt(text, pos, codePoint);
  if (length == 0) {
    ++pos;
    return kReplacementCharacter;
  }
  pos += length;
  return codePoint;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
    codePoint = kReplacementCharacter;
  }
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

std::size_t CountCodePoints(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) NextCodePoint(text, pos);
  return count;
}

}  // namespace parlavo
