#pragma once

#include <string>
#include <string_view>

#include "dictionary/dictionary_index.h"
#include "dictionary/rule_trace.h"

namespace parlavo::server {

// Chinese (UTF-8) in English by shallow transfer: segmentation by word
// frequency, each clause put in English order by rules (see chinese_clause.h),
// full-width punctuation in ASCII form, sentences capitalised; characters the
// dictionary lacks and non-Chinese text are kept, line breaks too. `trace`,
// when given, gets the names of the rules that fired, clause by clause.
std::string ChineseToEnglish(const DictionaryIndex& index, std::string_view text, RuleTrace* trace = nullptr);

}  // namespace parlavo::server
