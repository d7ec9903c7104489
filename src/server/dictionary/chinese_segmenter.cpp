#include "dictionary/chinese_segmenter.h"

#include <cmath>
#include <limits>

#include "dictionary/closed_class_words.h"
#include "dictionary/dictionary_format.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

constexpr double kUnlistedFrequency = 0.1;   // in CC-CEDICT, not in jieba
constexpr double kUnknownFrequency = 0.001;  // in neither

// 三次, 两本: numerals (more than one) and a measure word that jieba keeps as
// one word, whose own senses ("third", "degree three") are seldom the meaning.
// Returns where the measure word starts, or 0.
std::size_t NumberAndMeasureSplit(const DictionaryIndex& index, const ChineseWord& word) {
  if (!word.entry || word.entry->tag != "m" || IsChineseClosedWord(word.text)) return 0;
  std::size_t pos = 0, last = 0;
  long value = 0;
  while (pos < word.text.size()) {
    last = pos;
    NextCodePoint(word.text, pos);
    if (pos == word.text.size()) break;
    const ClosedClassWord* digit = ChineseClosedWord(word.text.substr(last, pos - last), WordClass::Number);
    if (!digit) return 0;
    value = digit->value;
  }
  if (last == 0 || (value < 2 && last == std::string_view("一").size()) ||
      ChineseClosedWord(word.text.substr(last), WordClass::Number)) {
    return 0;
  }
  return HasMeasureSense(index.Chinese(word.text.substr(last))) ? last : 0;
}

}  // namespace

bool HasMeasureSense(const std::optional<IndexWord>& word) {
  return word && DictionaryIndex::HasSenseOfClass(*word, dictionary_format::kMeasureClass);
}

std::vector<ChineseWord> SegmentChinese(const DictionaryIndex& index, std::string_view han) {
  std::vector<std::size_t> bounds{0};
  for (std::size_t pos = 0; pos < han.size();) {
    NextCodePoint(han, pos);
    bounds.push_back(pos);
  }
  const std::size_t characters = bounds.size() - 1;
  const double logTotal = std::log(index.totalFrequency());
  // best[i]: cost of the cheapest split of characters i.. to the end.
  std::vector<double> best(characters + 1, 0);
  std::vector<ChineseWord> choice(characters);
  for (std::size_t i = characters; i-- > 0;) {
    best[i] = std::numeric_limits<double>::infinity();
    DictionaryIndex::ChineseRange starting = index.AllChinese();
    for (std::size_t end = i + 1; end <= characters; ++end) {
      const std::string_view word = han.substr(bounds[i], bounds[end] - bounds[i]);
      starting = index.NarrowChinese(starting, word, bounds[end - 1] - bounds[i]);
      const auto entry = index.ChineseIn(starting, word);
      if (entry || end == i + 1) {
        const double frequency = !entry                 ? kUnknownFrequency
                                 : entry->frequency > 0 ? entry->frequency
                                                        : kUnlistedFrequency;
        const double cost = logTotal - std::log(frequency) + best[end];
        if (cost < best[i]) {
          best[i] = cost;
          choice[i] = {word, entry};
        }
      }
      if (starting.last - starting.first <= (entry ? 1u : 0u)) break;  // no longer headword
    }
  }
  std::vector<ChineseWord> words;
  for (std::size_t i = 0; i < characters; i += CountCodePoints(choice[i].text)) {
    // Characters the dictionary lacks stay together: most often a name.
    if (!choice[i].entry && !words.empty() && !words.back().entry) {
      words.back().text = std::string_view(words.back().text.data(), words.back().text.size() + choice[i].text.size());
    } else if (const std::size_t split = NumberAndMeasureSplit(index, choice[i])) {
      const std::string_view number = choice[i].text.substr(0, split), measure = choice[i].text.substr(split);
      words.push_back({number, index.Chinese(number)});
      words.push_back({measure, index.Chinese(measure)});
    } else {
      words.push_back(choice[i]);
    }
  }
  return words;
}

}  // namespace parlavo::server
