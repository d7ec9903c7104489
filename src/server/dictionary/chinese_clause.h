#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_index.h"
#include "dictionary/rule_trace.h"

namespace parlavo::server {

// A word of a Chinese clause: Han words with what the dictionary holds for
// them (nullopt when it lacks them), anything else (Latin words, digits) kept.
struct ClauseWord {
  std::string_view text;
  std::optional<IndexWord> entry;
  bool han = true;
};

struct EnglishWord {
  std::string text;
  bool kept = false;  // passed through from the source: never capitalised
};

// English for one clause (the words between two punctuation marks) by
// shallow transfer: words are chunked into noun phrases, verbs and function
// words, then put in English order with the verb inflected for its subject,
// tense, negation and question. `question` says the clause ends with "？";
// `trace`, when given, gets the names of the rules that fired.
std::vector<EnglishWord> TranslateChineseClause(const DictionaryIndex& index, const std::vector<ClauseWord>& words,
                                                bool question, RuleTrace* trace = nullptr);

}  // namespace parlavo::server
