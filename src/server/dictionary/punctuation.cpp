#include "dictionary/punctuation.h"

#include <array>

namespace parlavo::server {

namespace {

struct Mapping {
  char32_t codePoint;
  AsciiMark mark;
};

constexpr std::array kMarks{
    Mapping{U'，', {",", MarkPosition::Closing}}, Mapping{U'、', {",", MarkPosition::Closing}},
    Mapping{U'。', {".", MarkPosition::Closing}}, Mapping{U'．', {".", MarkPosition::Closing}},
    Mapping{U'！', {"!", MarkPosition::Closing}}, Mapping{U'？', {"?", MarkPosition::Closing}},
    Mapping{U'：', {":", MarkPosition::Closing}}, Mapping{U'；', {";", MarkPosition::Closing}},
    Mapping{U'）', {")", MarkPosition::Closing}}, Mapping{U'】', {"]", MarkPosition::Closing}},
    Mapping{U'」', {"\"", MarkPosition::Closing}}, Mapping{U'』', {"\"", MarkPosition::Closing}},
    Mapping{U'”', {"\"", MarkPosition::Closing}}, Mapping{U'’', {"'", MarkPosition::Closing}},
    Mapping{U'》', {"\"", MarkPosition::Closing}}, Mapping{U'〉', {"\"", MarkPosition::Closing}},
    Mapping{U'（', {"(", MarkPosition::Opening}}, Mapping{U'【', {"[", MarkPosition::Opening}},
    Mapping{U'「', {"\"", MarkPosition::Opening}}, Mapping{U'『', {"\"", MarkPosition::Opening}},
    Mapping{U'“', {"\"", MarkPosition::Opening}}, Mapping{U'‘', {"'", MarkPosition::Opening}},
    Mapping{U'《', {"\"", MarkPosition::Opening}}, Mapping{U'〈', {"\"", MarkPosition::Opening}},
    Mapping{U'…', {"...", MarkPosition::Closing}}, Mapping{U'—', {"-", MarkPosition::Free}},
    Mapping{U'～', {"~", MarkPosition::Free}},     Mapping{U'·', {"·", MarkPosition::Free}},
    Mapping{U'・', {"·", MarkPosition::Free}},
};

// Printable ASCII from '!', also what U+FF01..U+FF5E stand for.
constexpr std::string_view kAscii =
    "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";

MarkPosition PositionOfAscii(char c) {
  switch (c) {
    case ',': case '.': case '!': case '?': case ':': case ';': case ')': case ']': case '}': case '%':
      return MarkPosition::Closing;
    case '(': case '[': case '{': case '$': case '#':
      return MarkPosition::Opening;
    default:
      return MarkPosition::Free;
  }
}

}  // namespace

std::optional<AsciiMark> AsciiForm(char32_t codePoint) {
  for (const Mapping& mapping : kMarks) {
    if (mapping.codePoint == codePoint) return mapping.mark;
  }
  if (codePoint >= 0xFF01 && codePoint <= 0xFF5E) codePoint -= 0xFF01 - '!';
  if (codePoint >= '!' && codePoint <= '~') {
    const std::string_view ascii = kAscii.substr(codePoint - '!', 1);
    return AsciiMark{ascii, PositionOfAscii(ascii.front())};
  }
  return std::nullopt;
}

std::optional<std::string_view> FullWidthForm(char mark) {
  switch (mark) {
    case ',': return "，";
    case '.': return "。";
    case '!': return "！";
    case '?': return "？";
    case ':': return "：";
    case ';': return "；";
    case '(': return "（";
    case ')': return "）";
    default: return std::nullopt;
  }
}

}  // namespace parlavo::server
