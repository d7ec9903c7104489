#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "indexer/cedict_source.h"
#include "indexer/jieba_source.h"

namespace parlavo::server {

using WordFrequencies = std::unordered_map<std::string, std::uint64_t>;

using JiebaLexicon = std::unordered_map<std::string, JiebaWord>;

// What the index holds for one key (see dictionary/dictionary_format.h).
struct IndexRecord {
  IndexRecord() = default;
  IndexRecord(const char* value) : value(value) {}
  IndexRecord(std::string value, std::string tag = {}, std::uint32_t frequency = 0, std::string measure = {})
      : value(std::move(value)), tag(std::move(tag)), frequency(frequency), measure(std::move(measure)) {}
  bool operator==(const IndexRecord&) const = default;

  std::string value;
  std::string tag;
  std::uint32_t frequency = 0;
  std::string measure;
};

// The two lookup tables of the dictionary index, sorted by key bytes.
struct DictionaryTables {
  // Headword (traditional and simplified forms, Han characters only) ->
  // English renderings by sense (empty for grammatical words), with jieba's
  // frequency and tag of the word and the classifier its noun takes.
  std::map<std::string, IndexRecord> chinese;
  // English lookup key -> the simplified Chinese word ranked first for it,
  // with that word's tag and classifier; key + kVerbMark / kNounMark -> the
  // word ranked first among verb / noun renderings, where that is another word.
  std::map<std::string, IndexRecord> english;
  std::uint64_t totalFrequency = 0;
};

// Picks, for every headword, the entry whose gloss is used: entries that are
// not mere references first; among a single character's readings the
// neutral-tone (grammatical) one, then common nouns before names, then the
// reading found in more frequent compound words and with more senses.
// English keys are ranked by the frequency of the Chinese word, weighted down
// for later senses, later renderings within a sense and renderings that
// needed a note; phrases come from senses without notes only.
// Frequencies and tags for segmenting and tagging come from jieba's lexicon;
// a word it lacks gets frequency 0 and a tag guessed from its first sense.
DictionaryTables BuildDictionaryTables(const std::vector<CedictEntry>& entries, const WordFrequencies& frequencies,
                                       const JiebaLexicon& jieba = {});

}  // namespace parlavo::server
