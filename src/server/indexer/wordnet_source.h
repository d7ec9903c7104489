#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace parlavo::server {

// How often an English lemma was seen in each word class in WordNet's
// sense-tagged corpus: noun, verb, adjective, adverb; then how many of its
// noun uses were units of measure (WordNet's noun.quantity: "dozen", "inch").
enum class EnglishClass { Noun, Verb, Adjective, Adverb, Unit };
using EnglishUse = std::unordered_map<std::string, std::array<std::uint32_t, 5>>;

// WordNet's cntlist.rev: lines "lemma%ss_type:... sense_number tag_count".
// Lemmas are lower-cased, '_' read as a blank; lines of another shape are skipped.
EnglishUse ParseWordNetCounts(std::string_view text);

}  // namespace parlavo::server
