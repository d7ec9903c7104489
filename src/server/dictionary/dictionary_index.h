#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_format.h"

namespace parlavo::server {

// The index file is missing, unreadable or damaged. what() is Chinese.
class DictionaryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the index holds for a key: see dictionary_format.h.
struct IndexWord {
  std::string_view value;
  std::string_view tag;
  std::string_view measure;
  std::uint32_t frequency = 0;
  std::string_view entry;  // the key's dictionary entry, in the index's layout
};

// One sense of a Chinese headword, or one Chinese rendering of an English word.
struct IndexSense {
  char wordClass;  // dictionary_format::k*Class
  bool bound;      // a bound form: used only inside words
  std::string_view text;
};

// One reading of a Chinese headword: its numbered pinyin ("da3") and senses.
struct IndexReading {
  std::string_view pinyin;
  std::vector<IndexSense> senses;
};

// The dictionary index built from CC-CEDICT and jieba's lexicon, held in memory; lookups are
// binary searches and the object is read-only, so threads share it freely.
class DictionaryIndex {
 public:
  // Reads and checks the whole file. Throws DictionaryError.
  static DictionaryIndex Load(const std::filesystem::path& path);

  // A Chinese headword: its English renderings, tag, measure and frequency.
  std::optional<IndexWord> Chinese(std::string_view word) const;

  // The headwords that start with one prefix: a run of the sorted Chinese table.
  struct ChineseRange {
    std::size_t first = 0;
    std::size_t last = 0;  // one past
    bool empty() const { return first == last; }
  };
  ChineseRange AllChinese() const { return {0, m_chinese.size()}; }
  // Of `range`, whose headwords all start with prefix's first `known` bytes, those that
  // start with all of `prefix`. Segmentation grows a word one character at a time and
  // so compares only the new bytes instead of searching the whole table each time.
  ChineseRange NarrowChinese(ChineseRange range, std::string_view prefix, std::size_t known) const;
  // The headword `word` itself, given the range NarrowChinese gave for it.
  std::optional<IndexWord> ChineseIn(ChineseRange range, std::string_view word) const;

  // A normalised English key (see EnglishKey): its Chinese word and tags.
  std::optional<IndexWord> English(std::string_view key) const;

  // Every reading of a Chinese headword with all its senses, most common
  // reading first; empty when the index lacks the word.
  std::vector<IndexReading> ChineseReadings(std::string_view word) const;
  // The Chinese renderings of an English key, most common first.
  std::vector<IndexSense> EnglishRenderings(std::string_view key) const;
  // Whether any reading of a Chinese headword has a sense of the class
  // (dictionary_format::k*Class), read from its entry in place.
  static bool HasSenseOfClass(const IndexWord& word, char wordClass);

  double totalFrequency() const { return m_totalFrequency; }
  std::size_t longestChineseKey() const { return m_longestChineseKey; }  // characters
  std::size_t longestEnglishKey() const { return m_longestEnglishKey; }  // words
  std::size_t chineseCount() const { return m_chinese.size(); }
  std::size_t englishCount() const { return m_english.size(); }

 private:
  using Entry = dictionary_format::Entry;
  std::optional<IndexWord> Find(const std::vector<Entry>& table, std::string_view key) const;
  std::string_view KeyOf(const Entry& entry) const;
  IndexWord WordOf(const Entry& entry) const;

  // The headwords that start with the same character, keyed by its bytes (see FirstCharacterKey):
  // the first step of a word's growth, which would otherwise search the whole table.
  struct FirstCharacter {
    std::uint64_t key;
    ChineseRange range;
  };
  void IndexFirstCharacters();

  std::vector<Entry> m_chinese;
  std::vector<FirstCharacter> m_firstCharacters;
  std::vector<Entry> m_english;
  std::string m_strings;
  std::size_t m_longestChineseKey = 0;
  std::size_t m_longestEnglishKey = 0;
  double m_totalFrequency = 0;
};

}  // namespace parlavo::server
