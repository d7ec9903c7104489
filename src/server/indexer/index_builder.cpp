#include "indexer/index_builder.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <tuple>

#include "dictionary/dictionary_format.h"
#include "indexer/english_table.h"
#include "indexer/entry_text.h"
#include "indexer/senses.h"
#include "text/ascii.h"
#include "text/unicode_script.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

std::vector<std::string> Characters(std::string_view word) {
  std::vector<std::string> characters;
  for (std::size_t pos = 0; pos < word.size();) {
    const std::size_t start = pos;
    NextCodePoint(word, pos);
    characters.emplace_back(word.substr(start, pos - start));
  }
  return characters;
}

std::vector<std::string> Syllables(std::string_view pinyin) {
  std::vector<std::string> syllables;
  std::istringstream stream{std::string(pinyin)};
  for (std::string syllable; stream >> syllable;) syllables.push_back(syllable);
  return syllables;
}

// How much a character's reading is used: the frequencies of the ordinary
// (not name) compound words it appears in with that reading.
std::unordered_map<std::string, double> ReadingUse(const std::vector<CedictEntry>& entries,
                                                   const WordFrequencies& frequencies) {
  std::unordered_map<std::string, double> use;
  for (const CedictEntry& entry : entries) {
    if (IsProperName(entry)) continue;
    const std::vector<std::string> characters = Characters(entry.simplified);
    const std::vector<std::string> syllables = Syllables(entry.pinyin);
    if (characters.size() < 2 || characters.size() != syllables.size()) continue;
    const auto frequency = static_cast<double>(FrequencyOf(frequencies, entry.simplified));
    for (std::size_t i = 0; i < characters.size(); ++i) use[characters[i] + ' ' + syllables[i]] += frequency;
  }
  return use;
}

// ReadingUse of a single character's entry; 0 where no compound word has its reading.
double UseOf(const std::unordered_map<std::string, double>& readingUse, const CedictEntry& entry) {
  const auto found = readingUse.find(entry.simplified + ' ' + entry.pinyin);
  return found == readingUse.end() ? 0.0 : found->second;
}

using Preference = std::tuple<bool, bool, bool, bool, double, std::size_t>;

// The class of an entry's first meaning: a verb by its "to", otherwise the
// class in which its renderings are most used in English; '\0' when unknown.
char FirstMeaningClass(const CedictEntry& entry, const EnglishUse& english) {
  for (const std::string& sense : entry.senses) {
    if (ClassifySense(sense) != SenseKind::Meaning) continue;
    if (ToLowerAscii(StripNotes(sense)).starts_with("to ")) return dictionary_format::kVerbClass;
    return EnglishSenseClass(sense, english);
  }
  return '\0';
}

Preference PreferenceOf(const std::vector<CedictEntry>& entries, std::size_t index,
                        const std::unordered_map<std::string, double>& readingUse, const JiebaLexicon& jieba,
                        const EnglishUse& english) {
  const CedictEntry& entry = entries[index];
  const bool reference = ClassifySense(entry.senses.front()) == SenseKind::Reference;
  const bool single = CountCodePoints(entry.simplified) == 1;
  const bool neutralTone = entry.pinyin.ends_with('5');
  const auto tagged = jieba.find(entry.simplified);
  // Only jieba's plain verb, noun, adjective and adverb tags ("v", "n", "nr", "a", "ad" ...).
  const bool plainTag = tagged != jieba.end() && !tagged->second.tag.empty() &&
                        std::string_view("vnad").find(tagged->second.tag.front()) !=
                                                     std::string_view::npos;
  const char expected = plainTag ? TaggedClass(tagged->second.tag) : '\0';
  const char found = FirstMeaningClass(entry, english);
  // Only a verb is told from the rest when English does not say.
  const bool otherClass = expected && (found ? found != expected
                                             : (expected == dictionary_format::kVerbClass) !=
                                                   (found == dictionary_format::kVerbClass));
  double weight = 0;
  for (const std::string& sense : entry.senses) {
    if (ClassifySense(sense) == SenseKind::Meaning) weight += 1;
  }
  if (single) weight += std::log1p(UseOf(readingUse, entry));
  return {reference, !neutralTone, IsProperName(entry), otherClass, -weight, index};
}

// Every form of a headword (Han characters only) -> its entries, most common reading first.
std::map<std::string, std::vector<std::size_t>> ReadingsByForm(
    const std::vector<CedictEntry>& entries, const std::unordered_map<std::string, double>& readingUse,
    const JiebaLexicon& jieba, const EnglishUse& english) {
  std::vector<Preference> preferences;
  std::map<std::string, std::vector<std::size_t>> readings;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    preferences.push_back(PreferenceOf(entries, i, readingUse, jieba, english));
    for (const std::string* form : {&entries[i].simplified, &entries[i].traditional}) {
      if (!IsAllHan(*form) || CountCodePoints(*form) > dictionary_format::kMaxChineseKeyCharacters) continue;
      auto& list = readings[*form];
      if (list.empty() || list.back() != i) list.push_back(i);
    }
  }
  for (auto& [form, list] : readings) {
    std::sort(list.begin(), list.end(), [&](std::size_t a, std::size_t b) { return preferences[a] < preferences[b]; });
  }
  return readings;
}

// jieba's view of a simplified word, or a guess from its first sense.
JiebaWord TaggingOf(const CedictEntry& entry, const std::string& senses, const JiebaLexicon& jieba) {
  if (const auto found = jieba.find(entry.simplified); found != jieba.end()) return found->second;
  if (IsProperName(entry)) return {0, "nz"};
  return {0, senses.starts_with("to ") ? "v" : "n"};
}

constexpr std::size_t kMostRuleSenses = 6;

// The renderings of the first reading, then those of the other readings that
// are not names or references, at most kMostRuleSenses. A grammatical word keeps none.
std::string RuleSenses(const std::vector<CedictEntry>& entries, const std::vector<std::size_t>& readings) {
  std::string senses = ChineseSenses(entries[readings.front()]);
  std::size_t count = senses.empty() ? 0 : std::count(senses.begin(), senses.end(), '/') + 1;
  for (std::size_t r = 1; r < readings.size() && count > 0 && count < kMostRuleSenses; ++r) {
    const CedictEntry& entry = entries[readings[r]];
    if (IsProperName(entry) || ClassifySense(entry.senses.front()) == SenseKind::Reference) continue;
    const std::string moreSenses = ChineseSenses(entry);
    std::string_view more = moreSenses;
    while (!more.empty() && count < kMostRuleSenses) {
      const std::string_view sense = more.substr(0, more.find('/'));
      senses += '/' + std::string(sense);
      ++count;
      more.remove_prefix(std::min(more.size(), sense.size() + 1));
    }
  }
  return senses;
}

// A character's reading after the first is shown when its compound words are
// used at least this share as much as those of its best-used reading (好 hào
// of 爱好 and 好奇; 打 dá of 苏打), or when it has the neutral tone: a
// function word's reading (地 de), which compounds do not show.
constexpr double kCommonReadingShare = 0.001;

// The readings an entry shows: the first, and of a single character the others in common use.
std::vector<const CedictEntry*> ShownReadings(const std::vector<CedictEntry>& entries,
                                              const std::vector<std::size_t>& list,
                                              const std::unordered_map<std::string, double>& readingUse) {
  double most = 0;
  for (std::size_t i : list) most = std::max(most, UseOf(readingUse, entries[i]));
  std::vector<const CedictEntry*> shown;
  for (std::size_t i : list) {
    const CedictEntry& entry = entries[i];
    const bool single = CountCodePoints(entry.simplified) == 1;
    if (shown.empty() || !single || entry.pinyin.ends_with('5') || UseOf(readingUse, entry) >= kCommonReadingShare * most) {
      shown.push_back(&entry);
    }
  }
  return shown;
}

std::map<std::string, IndexRecord> ChineseTable(const std::vector<CedictEntry>& entries,
                                                const std::map<std::string, std::vector<std::size_t>>& readings,
                                                const std::unordered_map<std::string, double>& readingUse,
                                                const JiebaLexicon& jieba, const EnglishUse& english) {
  std::map<std::string, IndexRecord> table;
  for (const auto& [word, list] : readings) {
    const CedictEntry& entry = entries[list.front()];
    std::string senses = RuleSenses(entries, list);
    JiebaWord tagging = TaggingOf(entry, senses, jieba);
    const std::vector<const CedictEntry*> ordered = ShownReadings(entries, list, readingUse);
    std::string text = ChineseEntryText(ordered, tagging.tag, english);
    table.emplace(word, IndexRecord(std::move(senses), std::move(tagging.tag), tagging.frequency, Measure(entry),
                                    std::move(text)));
  }
  return table;
}

}  // namespace

DictionaryTables BuildDictionaryTables(const std::vector<CedictEntry>& entries, const WordFrequencies& frequencies,
                                       const JiebaLexicon& jieba, const EnglishUse& english) {
  DictionaryTables tables;
  const auto readingUse = ReadingUse(entries, frequencies);
  const auto readings = ReadingsByForm(entries, readingUse, jieba, english);
  tables.chinese = ChineseTable(entries, readings, readingUse, jieba, english);
  tables.english = EnglishTable(entries, frequencies, readings, tables.chinese, english);
  for (const auto& [word, entry] : jieba) tables.totalFrequency += entry.frequency;
  return tables;
}

}  // namespace parlavo::server
