#pragma once

#include <string>
#include <string_view>

#include "dictionary/dictionary_index.h"

// The baseline the offline engine's rules must beat: a word-for-word gloss
// with the first rendering the dictionary gives each word, found as the engine
// finds it (Chinese segmented, English words reduced to their dictionary
// forms), in the source's word order. Words the dictionary lacks, numbers and
// other text are kept; punctuation takes the target's form.
namespace parlavo::server {

std::string GlossChinese(const DictionaryIndex& index, std::string_view text);
std::string GlossEnglish(const DictionaryIndex& index, std::string_view text);

}  // namespace parlavo::server
