#include "indexer/english_table.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

#include "dictionary/dictionary_format.h"
#include "indexer/entry_text.h"
#include "indexer/senses.h"
#include "text/ascii.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

// How often the English word is used as a verb (or as anything else)
// relative to the other; 1 for a word WordNet does not count. jieba's tags
// are too coarse here (安静 is tagged as a name), so only the verb's "to" says.
double EnglishVerbUse(const EnglishUse& english, const std::string& key, bool verb) {
  const auto found = english.find(key);
  if (found == english.end()) return 1;
  const auto& counts = found->second;
  const double verbs = counts[1];
  const double others = counts[0] + counts[2] + counts[3];
  return ((verb ? verbs : others) + 1.0) / (std::max(verbs, others) + 1.0);
}

// The class an entry shows a rendering under that is not a verb: jieba's
// adjective or adverb where English allows it; the class of the sense's other renderings where
// English uses the key in it too ("bright; light": light as an adjective);
// otherwise the key's commonest class in English other than a verb, failing
// that the sense's.
char RenderingClass(const EnglishUse& english, const std::string& key, std::string_view tag, char senseClass,
                    const std::vector<std::string>& alternatives) {
  const char fallback = senseClass == dictionary_format::kVerbClass ? dictionary_format::kNounClass : senseClass;
  const auto found = english.find(key);
  const bool counted = found != english.end();
  // jieba's adjective or adverb where English uses the key so too (更 is an adverb, but not "watch").
  if (tag.starts_with('a') && (!counted || found->second[2] > 0)) return dictionary_format::kAdjectiveClass;
  if (tag.starts_with('d') && (!counted || found->second[3] > 0)) return dictionary_format::kAdverbClass;
  if (!counted) return fallback;
  const auto& counts = found->second;
  std::string others;
  for (const std::string& alternative : alternatives) {
    if (EnglishKey(alternative) != key) others += alternative + "; ";
  }
  const char context = EnglishSenseClass(others, english);
  const std::size_t column = EnglishUseColumn(context);
  if (context && context != dictionary_format::kVerbClass && column != std::string_view::npos && counts[column] > 0) {
    return context;
  }
  if (counts[0] + counts[2] + counts[3] > 0) {
    return counts[0] >= counts[2] && counts[0] >= counts[3] ? dictionary_format::kNounClass
           : counts[2] >= counts[3]                         ? dictionary_format::kAdjectiveClass
                                                            : dictionary_format::kAdverbClass;
  }
  return fallback;
}

struct Rendering {
  double score;
  std::string word;
  char wordClass;
  bool attested;  // the word occurs in the frequency list
};

constexpr std::size_t kMostEntryRenderings = 8;
// With this many words in use, words never seen in the corpus (rare characters) are left out.
constexpr std::size_t kEnoughAttested = 3;

// How much English uses the key in a class, against its commonest class; 0
// for the classes WordNet does not count, -1 for a key it lacks.
double ClassShare(const EnglishUse& english, const std::string& key, char wordClass) {
  const auto found = english.find(key);
  if (found == english.end()) return -1;
  const std::size_t column = EnglishUseColumn(wordClass);
  if (column == std::string_view::npos) return 0;
  const auto& counts = found->second;
  return (counts[column] + 1.0) / (*std::max_element(counts.begin(), counts.end()) + 1.0);
}

// The entry: renderings sorted by score (best first), grouped by class, the
// class English uses the key in most first ("phone": 电话 before 致电), at
// most kMostEntryRenderings of each (an entry shows fewer).
std::string EnglishEntryText(std::vector<Rendering> renderings, const EnglishUse& english, const std::string& key) {
  std::stable_sort(renderings.begin(), renderings.end(), [&](const Rendering& a, const Rendering& b) {
    return ClassShare(english, key, a.wordClass) > ClassShare(english, key, b.wordClass);
  });
  const bool enough = static_cast<std::size_t>(std::count_if(renderings.begin(), renderings.end(), [](const Rendering& r) {
                        return r.attested;
                      })) >= kEnoughAttested;
  std::string text;
  std::vector<std::string> seen;  // each word once, under its first class
  std::map<char, std::size_t> perClass;
  for (const Rendering& rendering : renderings) {
    if (enough && !rendering.attested) continue;
    if (std::find(seen.begin(), seen.end(), rendering.word) != seen.end()) continue;
    if (perClass[rendering.wordClass] == kMostEntryRenderings) continue;
    ++perClass[rendering.wordClass];
    seen.push_back(rendering.word);
    if (!text.empty()) text += '\n';
    text += rendering.wordClass;
    text += dictionary_format::kPlainSense;
    text += rendering.word;
  }
  return text;
}

// The name a proper noun's first sense begins with, lower-cased: "Shanghai
// municipality (short name …)" -> "shanghai", "People's Republic of China" ->
// "people's republic"; empty when it begins otherwise.
std::string LeadingName(std::string_view sense) {
  std::string name;
  std::istringstream words{std::string(sense.substr(0, sense.find_first_of(",;(")))};
  for (std::string word; words >> word && std::isupper(static_cast<unsigned char>(word.front()));) {
    if (!std::all_of(word.begin(), word.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '\'' || c == '-'; })) break;
    name += (name.empty() ? "" : " ") + ToLowerAscii(word);
  }
  return name;
}

// How much of a Chinese word's use an English key stands for: the weight of
// the senses it renders against that of all the word's senses, each sense
// weighing a quarter of the one before (a word's first sense is its main
// one; a word of many senses gives each a smaller share).
constexpr double kSenseDecay = 0.25;
// A rendering after the first of its sense ("save" in "to conserve; to save").
constexpr double kLaterAlternative = 0.5;
// A reading after the first shares the written word's frequency with it.
constexpr double kLaterReading = 0.05;
constexpr double kBoundCharacter = 0.2;
// A word jieba tags as a verb, for a key English hardly uses as one (是 for
// "right"): down to this share as the key's verb use falls to nothing; a
// word jieba tags as a noun, for a verb rendering (省 "province" for "to save").
constexpr double kVerbForOtherClass = 0.25;

// How common the Chinese word is: the geometric mean of its frequencies in
// the two corpora (the Leiden list is web text with odd peaks, 快捷; jieba's
// is a general one), less for a later reading or a bound character.
double ChineseUse(const CedictEntry& entry, std::uint64_t count, const std::string& tag, double jiebaCount,
                  bool firstReading) {
  // A bound morpheme, or a prefix or suffix (非, 者), is rarely a word of its own.
  const bool boundCharacter =
      (CountCodePoints(entry.simplified) == 1 && tag.size() > 1 && tag.back() == 'g') || tag == "h" || tag == "k";
  return std::sqrt((static_cast<double>(count) + 1) * (jiebaCount + 1)) *
         (!firstReading ? kLaterReading : boundCharacter ? kBoundCharacter : 1.0);
}

// The weight of all an entry's senses that are meanings, each a quarter of the one before.
double TotalSenseWeight(const CedictEntry& entry) {
  double total = 0;
  for (std::size_t sense = 0; sense < entry.senses.size(); ++sense) {
    if (ClassifySense(entry.senses[sense]) == SenseKind::Meaning) {
      total += std::pow(kSenseDecay, static_cast<double>(sense));
    }
  }
  return total;
}

// How well a word of jieba's tag fits a rendering: less for a verb where
// English hardly uses the key as one, less for a noun's verb rendering.
double TagFit(const EnglishUse& english, const std::string& key, const std::string& tag, bool verbRendering) {
  const double verbUse = ClassShare(english, key, dictionary_format::kVerbClass);
  if (TaggedClass(tag) == dictionary_format::kVerbClass && verbUse >= 0) {
    return kVerbForOtherClass + (1 - kVerbForOtherClass) * verbUse;
  }
  return verbRendering && TaggedClass(tag) == dictionary_format::kNounClass ? kVerbForOtherClass : 1.0;
}

// The key of the verb or noun reading a rendering also ranks for: verb
// renderings ("to learn") of words jieba tags as verbs, other renderings of
// nouns; empty for the rest.
std::string ReadingKey(const std::string& key, const std::string& tag, bool verbRendering) {
  if (verbRendering && tag.starts_with('v')) return key + std::string(dictionary_format::kVerbMark);
  if (!verbRendering && tag.starts_with('n')) return key + std::string(dictionary_format::kNounMark);
  return {};
}

}  // namespace

std::map<std::string, IndexRecord> EnglishTable(const std::vector<CedictEntry>& entries,
                                                const WordFrequencies& frequencies,
                                                const std::map<std::string, std::vector<std::size_t>>& readings,
                                                const std::map<std::string, IndexRecord>& chinese,
                                                const EnglishUse& english) {
  std::map<std::string, std::vector<Rendering>> candidates;
  for (std::size_t index = 0; index < entries.size(); ++index) {
    const CedictEntry& entry = entries[index];
    const auto word = chinese.find(entry.simplified);
    const auto ordered = readings.find(entry.simplified);
    const std::string tag = word == chinese.end() ? std::string() : word->second.tag;
    const bool firstReading = ordered == readings.end() || ordered->second.front() == index;
    const std::uint64_t count = FrequencyOf(frequencies, entry.simplified);
    const double frequency = ChineseUse(entry, count, tag, word == chinese.end() ? 0 : word->second.frequency,
                                        firstReading);
    const double total = TotalSenseWeight(entry);
    std::map<std::string, std::size_t> seen;  // slot key -> this entry's place in its candidates
    for (std::size_t sense = 0; sense < entry.senses.size(); ++sense) {
      const std::string& text = entry.senses[sense];
      if (ClassifySense(text) != SenseKind::Meaning || IsMarkedUsage(text)) continue;
      const bool noted = text.find('(') != std::string::npos;
      const double share = std::pow(kSenseDecay, static_cast<double>(sense)) / total;
      const char senseClass = SenseClass(text, tag, english);
      const std::vector<std::string> alternatives = Alternatives(text);
      for (std::size_t alternative = 0; alternative < alternatives.size(); ++alternative) {
        const std::string key = EnglishKey(alternatives[alternative]);
        // A note usually narrows a phrase to a setting ("(humble) my family").
        if (key.empty() || (noted && key.find(' ') != std::string::npos)) continue;
        const bool verbRendering = alternatives[alternative].starts_with("to ");
        const char wordClass = IsProperName(entry) ? dictionary_format::kNameClass
                               : verbRendering     ? dictionary_format::kVerbClass
                                                   : RenderingClass(english, key, tag, senseClass, alternatives);
        const double fit = TagFit(english, key, tag, verbRendering);
        // A phrase is seldom one character ("good morning": 早安 before 早).
        const bool shortForPhrase = key.find(' ') != std::string::npos && CountCodePoints(entry.simplified) == 1;
        const double score = frequency * share * (alternative == 0 ? 1.0 : kLaterAlternative) *
                             (shortForPhrase ? kBoundCharacter : 1.0) *
                             EnglishVerbUse(english, key, verbRendering) * fit;
        const std::string reading = ReadingKey(key, tag, verbRendering);
        // A word's senses that give the same key add up (时间: "(concept of) time", "(duration of) time" …).
        for (const std::string& slotKey : {key, reading}) {
          if (slotKey.empty()) continue;
          auto& list = candidates[slotKey];
          const auto [place, fresh] = seen.emplace(slotKey, list.size());
          if (fresh)
            list.push_back({score, entry.simplified, wordClass, count > 0});
          else
            list[place->second].score += score;
        }
      }
    }
    // A place or person is also found by its name alone ("Shanghai"), below
    // any common word of that spelling.
    if (const std::string name = IsProperName(entry) ? LeadingName(entry.senses.front()) : std::string();
        !name.empty() && !seen.contains(name)) {
      candidates[name].push_back({frequency * 0.01, entry.simplified, dictionary_format::kNameClass, count > 0});
    }
  }
  std::map<std::string, IndexRecord> table;
  for (auto& [key, list] : candidates) {
    std::stable_sort(list.begin(), list.end(), [](const Rendering& a, const Rendering& b) { return a.score > b.score; });
    std::string text = EnglishEntryText(list, english, key);
    const std::string& first = list.front().word;
    // A reading the plain key already gives needs no entry of its own.
    if (key.ends_with(dictionary_format::kVerbMark) || key.ends_with(dictionary_format::kNounMark)) {
      const auto plain = candidates.find(key.substr(0, key.size() - dictionary_format::kVerbMark.size()));
      if (plain != candidates.end() && plain->second.front().word == first) continue;
      text.clear();
    }
    IndexRecord record(first);
    if (const auto word = chinese.find(first); word != chinese.end()) {
      record.tag = word->second.tag;
      record.measure = word->second.measure;
    }
    record.entry = std::move(text);
    table.emplace(key, std::move(record));
  }
  return table;
}

}  // namespace parlavo::server
