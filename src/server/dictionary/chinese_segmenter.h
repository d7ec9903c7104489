#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_index.h"

namespace parlavo::server {

struct ChineseWord {
  std::string_view text;
  std::optional<IndexWord> entry;  // nullopt: a character the dictionary lacks
};

// Splits a run of Han characters into the words that make it most probable,
// as jieba does: each word costs -log(its frequency / all frequencies), a
// word jieba lacks costs as if it occurred once in ten (it is still better
// than characters alone), a character the dictionary lacks costs most; such
// characters next to each other make one word.
// Numerals and a measure word that the dictionary holds as one word (三次) are
// split in two, so that the number rules read them.
std::vector<ChineseWord> SegmentChinese(const DictionaryIndex& index, std::string_view han);

// Whether any reading of a word (as the index gives it; nullopt: none) has a
// classifier sense (起: "for occurrences").
bool HasMeasureSense(const std::optional<IndexWord>& word);

}  // namespace parlavo::server
