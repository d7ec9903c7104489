#pragma once

#include <cstddef>
#include <string>

namespace parlavo::input {

// A text as the user pastes it (UTF-8) and as the program can hold it in the
// locale's code page: characters the code page lacks are '?' in the second.
struct PastedText {
  std::string pasted;
  std::string held;
};

// At least `bytes` bytes of Chinese, ASCII, punctuation, characters that mean
// something in an address or in JSON, line breaks and emoji.
PastedText MixedText(std::size_t bytes);

std::string PercentEncoded(const std::string& bytes);

}  // namespace parlavo::input
