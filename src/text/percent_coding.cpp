#include "text/percent_coding.h"

#include <array>
#include <cstring>

#include "text/ascii.h"

namespace parlavo {

namespace {

// Each byte's escape as four bytes ("%xx" and a spare), so that one
// fixed-size copy writes it; the spare is overwritten by the next escape.
constexpr auto kEscapes = [] {
  constexpr char kHex[] = "0123456789abcdef";
  std::array<std::array<char, 4>, 256> escapes{};
  for (std::size_t byte = 0; byte < 256; ++byte) escapes[byte] = {'%', kHex[byte >> 4], kHex[byte & 0x0F], '\0'};
  return escapes;
}();

}  // namespace

std::string PercentEncodeEveryByte(std::string_view bytes) {
  if (bytes.empty()) return {};
  std::string encoded(bytes.size() * 3 + 1, '\0');
  char* out = encoded.data();
  for (const char c : bytes) {
    std::memcpy(out, kEscapes[static_cast<unsigned char>(c)].data(), 4);
    out += 3;
  }
  encoded.pop_back();
  return encoded;
}

std::string PercentEncodeReserved(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (const char c : bytes) {
    if (IsAsciiAlphanumeric(c) || c == '-' || c == '_' || c == '.' || c == '~') {
      escaped += c;
    } else {
      const auto byte = static_cast<unsigned char>(c);
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0x0F];
    }
  }
  return escaped;
}

std::optional<std::string> PercentDecode(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      decoded += ' ';
    } else if (c == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int high = HexDigitValue(text[i + 1]);
      const int low = HexDigitValue(text[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      decoded += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      decoded += c;
    }
  }
  return decoded;
}

}  // namespace parlavo
