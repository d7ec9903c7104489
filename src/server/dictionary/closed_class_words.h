#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The grammar words of both languages, one bilingual table that both
// directions read: pronouns, determiners, question words, measure words,
// auxiliaries, negators, prepositions, conjunctions, numbers and the like.
// Open-class words (nouns, verbs, adjectives) come from the dictionary.
namespace parlavo::server {

enum class WordClass : std::uint8_t {
  Pronoun,
  Possessive,
  Determiner,
  QuestionWord,
  Article,
  Container,
  TimeUnit,
  Locative,
  Adverb,
  Degree,
  Modal,
  Negator,
  Be,
  Do,
  Have,
  Preposition,
  Postposition,
  Conjunction,
  Particle,
  Please,
  There,
  Let,
  Number,
  Ordinal,
  TimeWord,
  Month,
  Weekday,
  Currency,
  Title,
  Surname,
  Kinship,
};

enum WordFlag : std::uint8_t {
  kPlural = 1,       // plural determiners and pronouns; "were"
  kFirstPerson = 2,  // I am
  kThirdPerson = 4,  // he is
  kPast = 8,         // was, did, had; 没
  kToEnglish = 16,   // read from Chinese only (您 → you, but you → 你)
  kToChinese = 32,   // read from English only
  kBeforeNoun = 64,  // a determiner only before a noun (该 is "should" elsewhere)
};

struct ClosedClassWord {
  WordClass wordClass;
  std::string_view chinese;
  std::string_view english;
  std::uint8_t flags = 0;
  std::string_view object = {};      // pronouns: "me"
  std::string_view possessive = {};  // pronouns: "my"
  long value = -1;                   // numbers; ordinals, months, weekdays from 1
};

std::span<const ClosedClassWord> ClosedClassWords();

// The row of a Chinese word in one class, read Chinese → English; nullptr when none.
const ClosedClassWord* ChineseClosedWord(std::string_view chinese, WordClass wordClass);
// Whether a Chinese word belongs to any class.
bool IsChineseClosedWord(std::string_view chinese);
// The row of a lower-case English word (or a pronoun's object form), read English → Chinese.
const ClosedClassWord* EnglishClosedWord(std::string_view english);
// Of one class only, or of the first class `accept` takes.
const ClosedClassWord* EnglishClosedWord(std::string_view english, WordClass wordClass);
const ClosedClassWord* EnglishClosedWord(std::string_view english, bool (*accept)(WordClass));

}  // namespace parlavo::server
