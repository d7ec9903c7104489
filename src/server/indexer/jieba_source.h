#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace parlavo::server {

// A word of jieba's lexicon: how often it occurs and its part of speech.
struct JiebaWord {
  std::uint32_t frequency = 0;
  std::string tag;
};

// jieba's dict.txt: lines "word frequency tag". Lines of another shape are
// skipped; a tag longer than three letters is cut.
std::unordered_map<std::string, JiebaWord> ParseJiebaLexicon(std::string_view text);

}  // namespace parlavo::server
