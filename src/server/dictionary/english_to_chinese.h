#pragma once

#include <string>
#include <string_view>

#include "dictionary/dictionary_index.h"

namespace parlavo::server {

// Word-by-word rendering of English (UTF-8) in Chinese: the longest run of
// words that is a whole dictionary sense first ("good morning"), then single
// words through their lookup forms; articles dropped, "'s" as 的, ASCII
// punctuation in full-width form; unknown words and other text kept.
std::string EnglishToChinese(const DictionaryIndex& index, std::string_view text);

}  // namespace parlavo::server
