#include "indexer/cedict_source.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>

#include "text/ascii.h"

namespace parlavo::server {

namespace {

template <class Visitor>
void ForEachLine(std::string_view text, Visitor visit) {
  std::size_t number = 0;
  while (!text.empty()) {
    const auto end = text.find('\n');
    visit(text.substr(0, end), ++number);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

}  // namespace

std::string UnwrapJsModuleText(std::string_view module) {
  constexpr std::string_view opening = "module.exports = `";
  const std::string_view body = TrimAscii(module);
  if (!body.starts_with(opening) || !(body.ends_with("`;") || body.ends_with("`"))) {
    throw std::runtime_error("not a module exporting one template literal");
  }
  std::string_view literal = body.substr(opening.size());
  literal.remove_suffix(body.ends_with("`;") ? 2 : 1);
  if (literal.find_first_of("`\\") != std::string_view::npos ||
      literal.find("${") != std::string_view::npos) {
    throw std::runtime_error("template literal holds escapes or substitutions");
  }
  return std::string(literal);
}

std::vector<CedictEntry> ParseCedict(std::string_view text) {
  std::vector<CedictEntry> entries;
  ForEachLine(text, [&](std::string_view line, std::size_t number) {
    line = TrimAscii(line);
    if (line.empty() || line.front() == '#') return;
    const auto fail = [&] {
      throw std::runtime_error("malformed CC-CEDICT line " + std::to_string(number) + ": " +
                               std::string(line));
    };
    const auto firstBlank = line.find(' ');
    const auto secondBlank = firstBlank == std::string_view::npos ? firstBlank : line.find(' ', firstBlank + 1);
    const auto open = line.find(" [");
    const auto close = line.find("] /");
    if (secondBlank == std::string_view::npos || open != secondBlank || close == std::string_view::npos ||
        close < open || line.back() != '/') {
      fail();
    }
    CedictEntry entry;
    entry.traditional = line.substr(0, firstBlank);
    entry.simplified = line.substr(firstBlank + 1, secondBlank - firstBlank - 1);
    entry.pinyin = line.substr(open + 2, close - open - 2);
    std::string_view senses = line.substr(close + 3);
    senses.remove_suffix(1);
    while (!senses.empty()) {
      const auto slash = senses.find('/');
      const std::string_view sense = TrimAscii(senses.substr(0, slash));
      if (!sense.empty()) entry.senses.emplace_back(sense);
      if (slash == std::string_view::npos) break;
      senses.remove_prefix(slash + 1);
    }
    if (entry.traditional.empty() || entry.simplified.empty() || entry.senses.empty()) fail();
    entries.push_back(std::move(entry));
  });
  return entries;
}

std::string CedictHeader(std::string_view text) {
  std::string header;
  ForEachLine(text, [&, done = false](std::string_view line, std::size_t) mutable {
    if (done || !line.starts_with('#')) {
      done = true;
      return;
    }
    header.append(line);
    header += '\n';
  });
  return header;
}

std::unordered_map<std::string, std::uint64_t> ParseWordFrequencies(std::string_view text) {
  std::unordered_map<std::string, std::uint64_t> frequencies;
  ForEachLine(text, [&](std::string_view line, std::size_t) {
    line = TrimAscii(line);
    const auto comma = line.rfind(',');
    if (comma == std::string_view::npos || comma == 0) return;
    const std::string_view count = line.substr(comma + 1);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), value);
    if (error != std::errc() || end != count.data() + count.size()) return;
    auto& slot = frequencies[std::string(line.substr(0, comma))];
    slot = std::max(slot, value);
  });
  return frequencies;
}

bool IsProperName(const CedictEntry& entry) {
  return !entry.pinyin.empty() && std::isupper(static_cast<unsigned char>(entry.pinyin.front()));
}

std::uint64_t FrequencyOf(const std::unordered_map<std::string, std::uint64_t>& frequencies, const std::string& word) {
  const auto found = frequencies.find(word);
  return found == frequencies.end() ? 0 : found->second;
}

}  // namespace parlavo::server
