#pragma once

#include <cstddef>
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

// The dictionary index built from CC-CEDICT, held in memory; lookups are
// binary searches and the object is read-only, so threads share it freely.
class DictionaryIndex {
 public:
  // Reads and checks the whole file. Throws DictionaryError.
  static DictionaryIndex Load(const std::filesystem::path& path);

  // English gloss of a Chinese headword: nullopt for a word the dictionary
  // lacks, empty for a grammatical word without English of its own.
  std::optional<std::string_view> Gloss(std::string_view chinese) const;

  // The Chinese word for a normalised English key (see EnglishKey).
  std::optional<std::string_view> ChineseFor(std::string_view englishKey) const;

  std::size_t longestChineseKey() const { return m_longestChineseKey; }  // characters
  std::size_t longestEnglishKey() const { return m_longestEnglishKey; }  // words
  std::size_t chineseCount() const { return m_chinese.size(); }
  std::size_t englishCount() const { return m_english.size(); }

 private:
  using Entry = dictionary_format::Entry;
  std::optional<std::string_view> Find(const std::vector<Entry>& table, std::string_view key) const;
  std::string_view KeyOf(const Entry& entry) const;

  std::vector<Entry> m_chinese;
  std::vector<Entry> m_english;
  std::string m_strings;
  std::size_t m_longestChineseKey = 0;
  std::size_t m_longestEnglishKey = 0;
};

}  // namespace parlavo::server
