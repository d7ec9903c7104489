#include "indexer/jieba_source.h"

#include <charconv>

namespace parlavo::server {

std::unordered_map<std::string, JiebaWord> ParseJiebaLexicon(std::string_view text) {
  std::unordered_map<std::string, JiebaWord> words;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    const auto first = line.find(' ');
    const auto second = line.find(' ', first == std::string_view::npos ? first : first + 1);
    if (first == 0 || second == std::string_view::npos) continue;
    const std::string_view count = line.substr(first + 1, second - first - 1);
    JiebaWord word;
    const auto [stop, error] = std::from_chars(count.data(), count.data() + count.size(), word.frequency);
    if (error != std::errc() || stop != count.data() + count.size()) continue;
    word.tag = std::string(line.substr(second + 1, 3));
    words[std::string(line.substr(0, first))] = std::move(word);
  }
  return words;
}

}  // namespace parlavo::server
