#pragma once

#include <optional>
#include <string_view>

namespace parlavo::server {

// Where a punctuation mark sits against its neighbours in English text.
enum class MarkPosition {
  Closing,  // clings to the word before: , . ! ? : ; ) ”
  Opening,  // clings to the word after: ( “
  Free,     // stands between blanks: - ~ …
};

struct AsciiMark {
  std::string_view text;
  MarkPosition position;
};

// The ASCII form of a punctuation mark (ASCII, full-width or CJK) or of a
// full-width letter or digit; nullopt for anything else, blanks included.
std::optional<AsciiMark> AsciiForm(char32_t codePoint);

// The full-width form used in Chinese text for an ASCII mark ("," -> "，"),
// or nullopt when Chinese uses the ASCII mark itself.
std::optional<std::string_view> FullWidthForm(char mark);

}  // namespace parlavo::server
