#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace parlavo::server {

// How often an English lemma was seen in each word class in WordNet's
// sense-tagged corpus: noun, verb, adjective, adverb; then how many of its
// noun uses were units of measure (WordNet's noun.quantity: "dozen", "inch").
using EnglishUse = std::unordered_map<std::string, std::array<std::uint32_t, 5>>;

// The column of EnglishUse that counts a word class (dictionary_format's
// noun, verb, adjective or adverb); std::string_view::npos for the others.
inline std::size_t EnglishUseColumn(char wordClass) { return std::string_view("nvad").find(wordClass); }

// WordNet's cntlist.rev: lines "lemma%ss_type:... sense_number tag_count".
// Lemmas are lower-cased, '_' read as a blank; lines of another shape are skipped.
EnglishUse ParseWordNetCounts(std::string_view text);

}  // namespace parlavo::server
