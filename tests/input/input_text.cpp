#include "input_text.h"

#include <vector>

#include "net/ansi_code_page.h"

namespace parlavo::input {

PastedText MixedText(std::size_t bytes) {
  struct Character {
    const char* utf8;
    bool inGbk;
  };
  static const std::vector<Character> characters = {
      {"中", true}, {"文", true}, {"，", true}, {"。", true}, {"「", true}, {"」", true}, {"a", true},
      {"Z", true},  {"9", true},  {" ", true},  {"&", true},  {"%", true},  {"+", true},  {"#", true},
      {"|", true},  {"\"", true}, {"\\", true}, {"\t", true}, {"\n", true}, {"é", true},  {"€", true},
      {"😀", false}, {"한", false}, {"𠀀", false},
  };
  const bool utf8 = AnsiCharset() == "UTF-8";
  PastedText text;
  for (std::size_t i = 0; text.pasted.size() < bytes; ++i) {
    const Character& c = characters[(i * 7 + i / 5) % characters.size()];
    text.pasted += c.utf8;
    text.held += utf8 || c.inGbk ? c.utf8 : "?";
  }
  return text;
}

std::string PercentEncoded(const std::string& bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string encoded;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    encoded += '%';
    encoded += kHex[byte >> 4];
    encoded += kHex[byte & 0x0F];
  }
  return encoded;
}

}  // namespace parlavo::input
