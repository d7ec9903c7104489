#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dictionary/dictionary_index.h"

// Dictionary entries for a text that is one word or fixed term, as plain
// text for the result box: the headword (with its pinyin in tone marks), then
// its senses or renderings grouped by word class, most common first:
//
//   打 dǎ
//   动词：hit; strike; fight
namespace parlavo::server {

// The entry of a text that is, trimmed, one Chinese headword of the index
// (Han characters only; a single character is one too); nullopt otherwise.
std::optional<std::string> ChineseWordEntry(const DictionaryIndex& index, std::string_view text);

// The entry of a text that is, trimmed, one English word or multi-word entry
// of the index, in any form english_morphology reduces ("banks", "interest
// rates", "signed in"); nullopt otherwise, and for any text with punctuation
// other than '-' and '\'' (a sentence is never a term).
std::optional<std::string> EnglishWordEntry(const DictionaryIndex& index, std::string_view text);

}  // namespace parlavo::server
