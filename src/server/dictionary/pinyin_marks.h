#pragma once

#include <string>
#include <string_view>

namespace parlavo::server {

// CC-CEDICT's numbered pinyin in tone marks, syllables of one word joined:
// "da3" -> "dǎ", "dong1 xi5" -> "dōngxi" (5: the neutral tone, unmarked),
// "lu:4" or "lv4" -> "lǜ", "Xi1 an1" -> "Xī'ān" (an apostrophe before a
// syllable that opens with a, o or e; a blank before a capital, which starts
// another word of a name). Tokens that are not syllables ("A", "·") are kept
// and set apart by blanks.
std::string PinyinWithToneMarks(std::string_view numbered);

}  // namespace parlavo::server
