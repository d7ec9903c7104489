#pragma once

#include <string>
#include <string_view>

#include "dictionary/dictionary_index.h"

namespace parlavo::server {

// Word-by-word rendering of Chinese (UTF-8) in English: longest-match
// segmentation over the dictionary (from both ends, the better kept), each word's gloss, full-width punctuation
// in ASCII form, sentences capitalised; characters the dictionary lacks and
// non-Chinese text are kept, line breaks too.
std::string ChineseToEnglish(const DictionaryIndex& index, std::string_view text);

}  // namespace parlavo::server
