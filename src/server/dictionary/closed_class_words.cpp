#include "dictionary/closed_class_words.h"

#include <algorithm>
#include <string>
#include <vector>

#include "dictionary/closed_class_rows.h"
#include "text/ascii.h"

namespace parlavo::server {

namespace {

// The rows of every group in one table, built once.
const std::vector<ClosedClassWord>& Rows() {
  static const std::vector<ClosedClassWord> rows = [] {
    std::vector<ClosedClassWord> all;
    for (const auto group : {NounPhraseRows(), ClauseRows(), NumberAndNameRows()}) {
      all.insert(all.end(), group.begin(), group.end());
    }
    return all;
  }();
  return rows;
}

// Sorted keys into the rows, built once: every word of every clause is looked up.
struct Key {
  std::string text;
  WordClass wordClass;
  std::size_t row;
  int rank;  // an English word's own form before a pronoun's object form
};

const std::vector<Key>& ChineseKeys() {
  static const std::vector<Key> keys = [] {
    std::vector<Key> built;
    for (std::size_t row = 0; row < Rows().size(); ++row) {
      const ClosedClassWord& word = Rows()[row];
      if (!(word.flags & kToChinese)) built.push_back({std::string(word.chinese), word.wordClass, row, 0});
    }
    std::stable_sort(built.begin(), built.end(), [](const Key& a, const Key& b) { return a.text < b.text; });
    return built;
  }();
  return keys;
}

const std::vector<Key>& EnglishKeys() {
  static const std::vector<Key> keys = [] {
    std::vector<Key> built;
    for (std::size_t row = 0; row < Rows().size(); ++row) {
      const ClosedClassWord& word = Rows()[row];
      if (word.flags & kToEnglish) continue;
      built.push_back({ToLowerAscii(word.english), word.wordClass, row, 0});
      if (!word.object.empty() && word.object != word.english) {
        built.push_back({std::string(word.object), word.wordClass, row, 1});
      }
    }
    std::stable_sort(built.begin(), built.end(),
                     [](const Key& a, const Key& b) { return a.text != b.text ? a.text < b.text : a.rank < b.rank; });
    return built;
  }();
  return keys;
}

template <class Accept>
const ClosedClassWord* Search(const std::vector<Key>& keys, std::string_view text, Accept accept) {
  auto it = std::lower_bound(keys.begin(), keys.end(), text,
                             [](const Key& key, std::string_view t) { return std::string_view(key.text) < t; });
  for (; it != keys.end() && it->text == text; ++it) {
    if (accept(*it)) return &Rows()[it->row];
  }
  return nullptr;
}

}  // namespace

std::span<const ClosedClassWord> ClosedClassWords() { return Rows(); }

const ClosedClassWord* ChineseClosedWord(std::string_view chinese, WordClass wordClass) {
  return Search(ChineseKeys(), chinese, [&](const Key& key) { return key.wordClass == wordClass; });
}

bool IsChineseClosedWord(std::string_view chinese) {
  return Search(ChineseKeys(), chinese, [](const Key&) { return true; }) != nullptr;
}

const ClosedClassWord* EnglishClosedWord(std::string_view english) {
  return Search(EnglishKeys(), english, [](const Key&) { return true; });
}

const ClosedClassWord* EnglishClosedWord(std::string_view english, bool (*accept)(WordClass)) {
  return Search(EnglishKeys(), english, [&](const Key& key) { return accept(key.wordClass); });
}

const ClosedClassWord* EnglishClosedWord(std::string_view english, WordClass wordClass) {
  return Search(EnglishKeys(), english, [&](const Key& key) { return key.wordClass == wordClass; });
}

}  // namespace parlavo::server
