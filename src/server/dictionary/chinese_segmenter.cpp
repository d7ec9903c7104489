#include "dictionary/chinese_segmenter.h"

#include <cmath>
#include <limits>

#include "text/utf8.h"

namespace parlavo::server {

namespace {

constexpr double kUnlistedFrequency = 0.1;   // in CC-CEDICT, not in jieba
constexpr double kUnknownFrequency = 0.001;  // in neither

}  // namespace

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
    } else {
      words.push_back(choice[i]);
    }
  }
  return words;
}

}  // namespace parlavo::server
