#include "indexer/index_builder.h"

#include <cctype>
#include <cmath>
#include <sstream>
#include <tuple>

#include "dictionary/dictionary_format.h"
#include "indexer/senses.h"
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

bool AllHan(std::string_view word) {
  if (word.empty()) return false;
  for (std::size_t pos = 0; pos < word.size();) {
    if (!IsHan(NextCodePoint(word, pos))) return false;
  }
  return true;
}

std::vector<std::string> Syllables(std::string_view pinyin) {
  std::vector<std::string> syllables;
  std::istringstream stream{std::string(pinyin)};
  for (std::string syllable; stream >> syllable;) syllables.push_back(syllable);
  return syllables;
}

bool IsProperName(const CedictEntry& entry) {
  return !entry.pinyin.empty() && std::isupper(static_cast<unsigned char>(entry.pinyin.front()));
}

std::uint64_t FrequencyOf(const WordFrequencies& frequencies, const std::string& word) {
  const auto found = frequencies.find(word);
  return found == frequencies.end() ? 0 : found->second;
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

using Preference = std::tuple<bool, bool, bool, double, std::size_t>;

Preference PreferenceOf(const std::vector<CedictEntry>& entries, std::size_t index,
                        const std::unordered_map<std::string, double>& readingUse) {
  const CedictEntry& entry = entries[index];
  const bool reference = ClassifySense(entry.senses.front()) == SenseKind::Reference;
  const bool single = CountCodePoints(entry.simplified) == 1;
  const bool neutralTone = single && entry.pinyin.ends_with('5');
  double weight = 0;
  if (single) {
    for (const std::string& sense : entry.senses) {
      if (ClassifySense(sense) == SenseKind::Meaning) weight += 1;
    }
    const auto use = readingUse.find(entry.simplified + ' ' + entry.pinyin);
    if (use != readingUse.end()) weight += std::log1p(use->second);
  }
  return {reference, single && !neutralTone, IsProperName(entry), -weight, index};
}

// jieba's view of a simplified word, or a guess from its first sense.
JiebaWord TaggingOf(const CedictEntry& entry, const std::string& senses, const JiebaLexicon& jieba) {
  if (const auto found = jieba.find(entry.simplified); found != jieba.end()) return found->second;
  if (IsProperName(entry)) return {0, "nz"};
  return {0, senses.starts_with("to ") ? "v" : "n"};
}

std::map<std::string, IndexRecord> ChineseTable(const std::vector<CedictEntry>& entries,
                                                const WordFrequencies& frequencies, const JiebaLexicon& jieba) {
  const auto readingUse = ReadingUse(entries, frequencies);
  std::map<std::string, std::pair<Preference, std::size_t>> chosen;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Preference preference = PreferenceOf(entries, i, readingUse);
    for (const std::string* form : {&entries[i].simplified, &entries[i].traditional}) {
      if (!AllHan(*form) || CountCodePoints(*form) > dictionary_format::kMaxChineseKeyCharacters) continue;
      const auto [slot, inserted] = chosen.try_emplace(*form, preference, i);
      if (!inserted && preference < slot->second.first) slot->second = {preference, i};
    }
  }
  std::map<std::string, IndexRecord> table;
  for (const auto& [word, choice] : chosen) {
    const CedictEntry& entry = entries[choice.second];
    std::string senses = ChineseSenses(entry);
    JiebaWord tagging = TaggingOf(entry, senses, jieba);
    table.emplace(word, IndexRecord(std::move(senses), std::move(tagging.tag), tagging.frequency, Measure(entry)));
  }
  return table;
}

std::map<std::string, IndexRecord> EnglishTable(const std::vector<CedictEntry>& entries,
                                                const WordFrequencies& frequencies,
                                                const std::map<std::string, IndexRecord>& chinese) {
  std::map<std::string, std::pair<double, std::string>> best;
  for (const CedictEntry& entry : entries) {
    const double frequency = static_cast<double>(FrequencyOf(frequencies, entry.simplified)) + 1;
    const auto word = chinese.find(entry.simplified);
    const std::string_view tag = word == chinese.end() ? std::string_view() : std::string_view(word->second.tag);
    for (std::size_t sense = 0; sense < entry.senses.size(); ++sense) {
      const std::string& text = entry.senses[sense];
      if (ClassifySense(text) != SenseKind::Meaning || IsMarkedUsage(text)) continue;
      const bool noted = text.find('(') != std::string::npos;
      const double senseWeight = std::pow(0.25, static_cast<double>(sense)) * (noted ? 0.1 : 1.0);
      const std::vector<std::string> alternatives = Alternatives(text);
      for (std::size_t alternative = 0; alternative < alternatives.size(); ++alternative) {
        const std::string key = EnglishKey(alternatives[alternative]);
        // A note usually narrows a phrase to a setting ("(humble) my family").
        if (key.empty() || (noted && key.find(' ') != std::string::npos)) continue;
        const double score = frequency * senseWeight * (alternative == 0 ? 1.0 : 0.5);
        // Verb renderings ("to learn") of words jieba tags as verbs also rank
        // for the verb reading of the key, other renderings of nouns for the
        // noun reading.
        const bool verb = alternatives[alternative].starts_with("to ") && tag.starts_with('v');
        const bool noun = !alternatives[alternative].starts_with("to ") && tag.starts_with('n');
        const std::string reading = verb   ? key + std::string(dictionary_format::kVerbMark)
                                    : noun ? key + std::string(dictionary_format::kNounMark)
                                           : std::string();
        for (const std::string& slotKey : {key, reading}) {
          if (slotKey.empty()) continue;
          const auto [slot, inserted] = best.try_emplace(slotKey, score, entry.simplified);
          if (!inserted && score > slot->second.first) slot->second = {score, entry.simplified};
        }
      }
    }
  }
  std::map<std::string, IndexRecord> table;
  for (auto& [key, choice] : best) {
    // A reading the plain key already gives needs no entry of its own.
    if (key.ends_with(dictionary_format::kVerbMark) || key.ends_with(dictionary_format::kNounMark)) {
      const auto plain = best.find(key.substr(0, key.size() - dictionary_format::kVerbMark.size()));
      if (plain != best.end() && plain->second.second == choice.second) continue;
    }
    IndexRecord record(choice.second);
    if (const auto word = chinese.find(record.value); word != chinese.end()) {
      record.tag = word->second.tag;
      record.measure = word->second.measure;
    }
    table.emplace(key, std::move(record));
  }
  return table;
}

}  // namespace

DictionaryTables BuildDictionaryTables(const std::vector<CedictEntry>& entries, const WordFrequencies& frequencies,
                                       const JiebaLexicon& jieba) {
  DictionaryTables tables;
  tables.chinese = ChineseTable(entries, frequencies, jieba);
  tables.english = EnglishTable(entries, frequencies, tables.chinese);
  for (const auto& [word, entry] : jieba) tables.totalFrequency += entry.frequency;
  return tables;
}

}  // namespace parlavo::server
