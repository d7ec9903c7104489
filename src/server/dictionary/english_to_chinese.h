#pragma once

#include <string>
#include <string_view>

#include "dictionary/dictionary_index.h"

namespace parlavo::server {

// English (UTF-8) in Chinese by shallow transfer: each clause put in Chinese
// order by rules (see english_clause.h), ASCII punctuation in full-width
// form; unknown words and other text kept.
std::string EnglishToChinese(const DictionaryIndex& index, std::string_view text);

}  // namespace parlavo::server
