#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "indexer/cedict_source.h"

namespace parlavo::server {

using WordFrequencies = std::unordered_map<std::string, std::uint64_t>;

// The two lookup tables of the dictionary index, sorted by key bytes.
struct DictionaryTables {
  // Headword (traditional and simplified forms, Han characters only) ->
  // English gloss; empty gloss for grammatical words.
  std::map<std::string, std::string> chinese;
  // English lookup key -> the simplified Chinese word ranked first for it.
  std::map<std::string, std::string> english;
};

// Picks, for every headword, the entry whose gloss is used: entries that are
// not mere references first; among a single character's readings the
// neutral-tone (grammatical) one, then common nouns before names, then the
// reading found in more frequent compound words and with more senses.
// English keys are ranked by the frequency of the Chinese word, weighted down
// for later senses, later renderings within a sense and renderings that
// needed a note; phrases come from senses without notes only.
DictionaryTables BuildDictionaryTables(const std::vector<CedictEntry>& entries,
                                       const WordFrequencies& frequencies);

}  // namespace parlavo::server
