#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "indexer/cedict_source.h"

// How the indexer reads the English side of CC-CEDICT entries.
namespace parlavo::server {

enum class SenseKind {
  Meaning,    // an English rendering of the word
  Grammar,    // describes a function ("(question particle ...)", "classifier for ...")
  Reference,  // points elsewhere: variants, "see ...", "used in ...", surnames, classifiers
};

SenseKind ClassifySense(std::string_view sense);

// Marked (archaic), (literary), (dialect), (slang), (humble), (bound form)
// ...: not what an English word or phrase should be translated into.
bool IsMarkedUsage(std::string_view sense);

// Marked (bound form): used only inside words, yet what the character means there ("本": this).
bool IsBoundForm(std::string_view sense);

// The sense without its parenthesised notes, blanks collapsed.
std::string StripNotes(std::string_view sense);

// The ';'-separated renderings of a sense, notes stripped, leaving out those
// that only point at Chinese text or are word fragments ("-ful").
std::vector<std::string> Alternatives(std::string_view sense);

// What a Chinese word may be translated into, one rendering per sense joined
// by '/' ("to love/affection"), at most six: the first rendering of each
// sense that is a meaning, up to a comma that starts an explanation, without
// closing "!", "?" or "..." (the text's own punctuation follows); senses
// marked as dated or regional are left out after the first, bound forms are
// kept, explanations of usage are left out. Verbs keep
// "to " so the translator can tell them from nouns. Empty for grammatical
// words (whose first sense is not a meaning).
std::string ChineseSenses(const CedictEntry& entry);

// The simplified classifier of the first "CL:" sense ("CL:本[ben3],冊|册[ce4]"
// -> "本"), or empty.
std::string Measure(const CedictEntry& entry);

// The lookup form of an English rendering: lower case, no leading "to ",
// article or trailing "!?.", at most six words of letters, digits, "'" and
// "-". Empty when the rendering cannot be matched against running text.
std::string EnglishKey(std::string_view rendering);

}  // namespace parlavo::server
