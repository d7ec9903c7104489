#include "indexer/wordnet_source.h"

#include <algorithm>
#include <charconv>

#include "text/ascii.h"

namespace parlavo::server {

EnglishUse ParseWordNetCounts(std::string_view text) {
  EnglishUse use;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = TrimAscii(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const auto percent = line.find('%');
    const auto blank = line.rfind(' ');
    if (percent == 0 || percent == std::string_view::npos || blank == std::string_view::npos || blank < percent) {
      continue;
    }
    std::uint32_t count = 0;
    const std::string_view number = line.substr(blank + 1);
    const auto [stop, error] = std::from_chars(number.data(), number.data() + number.size(), count);
    if (error != std::errc() || stop != number.data() + number.size() || percent + 1 >= line.size()) continue;
    // ss_type 1 noun, 2 verb, 3 adjective, 4 adverb, 5 adjective satellite.
    const char type = line[percent + 1];
    if (type < '1' || type > '5') continue;
    std::string lemma = ToLowerAscii(line.substr(0, percent));
    std::replace(lemma.begin(), lemma.end(), '_', ' ');
    auto& counts = use[lemma];
    counts[type == '5' ? 2 : type - '1'] += count;
    // The lexicographer file follows the type: 23 is noun.quantity.
    if (line.substr(percent + 1).starts_with("1:23:")) counts[4] += count;
  }
  return use;
}

}  // namespace parlavo::server
