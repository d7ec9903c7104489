#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "indexer/cedict_source.h"
#include "indexer/wordnet_source.h"

// The dictionary entries the index keeps for every key (their layout is in
// dictionary/dictionary_format.h).
namespace parlavo::server {

// The class of a word's common use that jieba's tag gives ("v", "ns", "a",
// "r" ...); '\0' for other tags.
char TaggedClass(std::string_view tag);

// The class in which a sense's renderings are most used in English (noun,
// verb, adjective or adverb), or '\0' when WordNet counts none of them.
char EnglishSenseClass(std::string_view sense, const EnglishUse& english);

// The class a sense shows by evidence of its own, '\0' where it has none:
// CC-CEDICT's wording ("to ..." a verb, "classifier for ...", "(interj.)",
// "(of a person) tall" an adjective), an English grammar word ("from" a
// preposition), a unit of measure ("dozen") a classifier, jieba's noun,
// adjective, adverb or numeral tag where English allows it, otherwise the
// class English uses the renderings in most (but a verb, which has "to").
char EvidencedClass(std::string_view sense, std::string_view tag, const EnglishUse& english);

// The word class of one sense of a word jieba tags `tag` (empty: not known):
// its evidenced class, failing that the tag's class (a noun for a verb's
// renderings that are not verbs). '\0' for a sense that only points elsewhere.
char SenseClass(std::string_view sense, std::string_view tag, const EnglishUse& english);

// A sense as an entry shows it: its renderings joined by "; ", without a
// verb's "to", notes that open a rendering ("(coll.)", "(of a machine)"), notes
// quoting Chinese, and renderings that are explanations rather than words.
// "classifier for books" keeps "for books". Empty when nothing is left.
std::string EntrySenseText(std::string_view sense);

// The entry of a headword from its CC-CEDICT entries, most common reading
// first; readings with the same pinyin share one block, and entries that
// only point elsewhere are left out. jieba's tag describes the first reading only.
std::string ChineseEntryText(const std::vector<const CedictEntry*>& readings, std::string_view tag,
                             const EnglishUse& english);

}  // namespace parlavo::server
