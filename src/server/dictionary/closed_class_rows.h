#pragma once

#include <span>

#include "dictionary/closed_class_words.h"

// The rows of the closed-class table, in three groups by what the words
// build; a row belongs with its class. One row per word and class. A row
// without kToEnglish or kToChinese reads both ways; where a language has
// several words for one of the other's, the others read one way only (您 →
// you; you → 你). The table is the groups in the order below, row by row:
// where a word has rows in several classes, a lookup that takes any class
// finds the earlier row.
namespace parlavo::server {

// Pronouns, possessives, articles, determiners, question words, measure
// words, units of time and locatives (closed_class_noun_words.cpp).
std::span<const ClosedClassWord> NounPhraseRows();
// Adverbs, degree words, modals, negators, English auxiliaries, prepositions,
// postpositions, conjunctions, particles, and the words clause rules read
// (closed_class_clause_words.cpp).
std::span<const ClosedClassWord> ClauseRows();
// Numbers, ordinals, months and weekdays, currencies, titles, surnames and
// kin (closed_class_number_words.cpp).
std::span<const ClosedClassWord> NumberAndNameRows();

}  // namespace parlavo::server
