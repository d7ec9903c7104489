#pragma once

#include <string>
#include <string_view>

#include "dictionary/dictionary_index.h"
#include "dictionary/rule_trace.h"

namespace parlavo::server {

// English (UTF-8) in Chinese by shallow transfer: each clause put in Chinese
// order by rules (see english_clause.h), ASCII punctuation in full-width
// form; unknown words and other text kept. `trace`, when given, gets the
// names of the rules that fired, clause by clause.
std::string EnglishToChinese(const DictionaryIndex& index, std::string_view text, RuleTrace* trace = nullptr);

}  // namespace parlavo::server
