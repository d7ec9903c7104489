#pragma once

#include <string>
#include <vector>

#include "dictionary/dictionary_index.h"
#include "dictionary/rule_trace.h"

namespace parlavo::server {

// A word of an English clause: as written, and lower case with typographic
// apostrophes made plain.
struct ClauseToken {
  std::string text;
  std::string lookup;
};

struct ChinesePiece {
  ChinesePiece(std::string text, bool latin = false) : text(std::move(text)), latin(latin) {}
  ChinesePiece(const char* text) : text(text) {}

  std::string text;
  bool latin = false;  // kept as written (a name, a number): blanks between such pieces stay
};

// Chinese for one clause (the words between two punctuation marks) by
// shallow transfer: words are looked up through their dictionary forms and
// grouped into noun phrases and a verb group, then put in Chinese order:
// subject, time, place, verb, object; articles and do-support dropped, tense
// and negation as Chinese marks them, questions as statements with 吗.
// `question` says the clause ends with "?"; `trace`, when given, gets the
// names of the rules that fired.
std::vector<ChinesePiece> TranslateEnglishClause(const DictionaryIndex& index, const std::vector<ClauseToken>& words,
                                                 bool question, RuleTrace* trace = nullptr);

}  // namespace parlavo::server
