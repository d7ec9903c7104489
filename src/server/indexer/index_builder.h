#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "indexer/cedict_source.h"
#include "indexer/jieba_source.h"
#include "indexer/wordnet_source.h"

namespace parlavo::server {

using WordFrequencies = std::unordered_map<std::string, std::uint64_t>;

using JiebaLexicon = std::unordered_map<std::string, JiebaWord>;

// What the index holds for one key (see dictionary/dictionary_format.h).
struct IndexRecord {
  IndexRecord() = default;
  IndexRecord(const char* value) : value(value) {}
  IndexRecord(std::string value, std::string tag = {}, std::uint32_t frequency = 0, std::string measure = {},
              std::string entry = {})
      : value(std::move(value)), tag(std::move(tag)), frequency(frequency), measure(std::move(measure)),
        entry(std::move(entry)) {}
  bool operator==(const IndexRecord&) const = default;

  std::string value;
  std::string tag;
  std::uint32_t frequency = 0;
  std::string measure;
  std::string entry;  // the key's dictionary entry
};

// The two lookup tables of the dictionary index, sorted by key bytes.
struct DictionaryTables {
  // Headword (traditional and simplified forms, Han characters only) ->
  // English renderings by sense (empty for grammatical words), with jieba's
  // frequency and tag of the word and the classifier its noun takes.
  std::map<std::string, IndexRecord> chinese;
  // English lookup key -> the simplified Chinese word ranked first for it,
  // with that word's tag and classifier, and the words ranked after it;
  // key + kVerbMark / kNounMark -> the word ranked first among verb / noun
  // renderings, where that is another word.
  std::map<std::string, IndexRecord> english;
  std::uint64_t totalFrequency = 0;
};

// Keeps every entry of a headword, most common reading first: entries that
// are not mere references first; the neutral-tone (everyday or grammatical)
// reading; common words before names; the reading whose first sense is of
// jieba's class for the word (a verb or not); then, for a single character,
// the reading found in more frequent compound words, and the one with more
// senses. The headword's renderings for the transfer rules come from that
// reading first, then from the others.
// English keys are ranked by how common the Chinese word is (the geometric
// mean of its Leiden and jieba frequencies; a twentieth for a reading after
// the first, a fifth for a character jieba tags as a bound morpheme) times the
// share of the word's senses the key renders (each sense weighing a quarter
// of the one before, the senses giving the same key added up), halved for a
// later rendering within a sense, and weighed by how often WordNet counts
// the English word as a verb or otherwise, as the rendering is (`english`); a
// word jieba tags as a verb counts less for a key English rarely uses as one,
// a word it tags as a noun less for a verb rendering.
// A proper name is also found, last, by the name its first sense begins with.
// Each key keeps its eight best Chinese words for its entry.
// Phrases come from senses without notes only.
// Frequencies and tags for segmenting and tagging come from jieba's lexicon;
// a word it lacks gets frequency 0 and a tag guessed from its first sense.
DictionaryTables BuildDictionaryTables(const std::vector<CedictEntry>& entries, const WordFrequencies& frequencies,
                                       const JiebaLexicon& jieba = {}, const EnglishUse& english = {});

}  // namespace parlavo::server
