#pragma once

#include <string>
#include <string_view>

namespace parlavo::server {

struct Detection {
  std::string language;  // "zh-CN", "zh-TW", "en", ...; empty when the text has no letters
  bool reliable = false;
  double confidence = 0;  // 0..1
};

// Language of a valid UTF-8 text, by CLD2; a text too short for it is judged
// by the script most of its letters are written in (Han -> Chinese,
// Latin -> "en", ...), never reliably. Chinese is "zh-TW" when written in
// Traditional characters, else "zh-CN".
Detection DetectLanguage(std::string_view utf8);

}  // namespace parlavo::server
