#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/chinese_clause.h"
#include "dictionary/closed_class_words.h"
#include "dictionary/rule_trace.h"

// Shared by the Chinese → English rule files: the chunk stage (noun phrases in
// chinese_noun_rules.cpp, numbers in chinese_number_rules.cpp, other words in
// chinese_word_rules.cpp) and the order and inflect stages
// (chinese_order_rules.cpp).
namespace parlavo::server::chinese_rules {

enum class Role {
  Noun,
  Verb,
  Copula,
  Adjective,
  Degree,
  Negation,
  Modal,
  Progressive,
  Already,
  Done,
  Time,
  Place,
  Please,
  Adverb,
  Conjunction,
  Other,
};

enum class Person { First, Third, Plural };  // I am / he is / we, you, they are

struct Chunk {
  Role role = Role::Other;
  std::string english;
  bool kept = false;
  // Noun phrases.
  const ClosedClassWord* pronoun = nullptr;
  bool plural = false;
  bool determined = false;  // has a determiner, possessor or number: takes no article
  bool proper = false;      // a name or kept text: takes no article
  bool question = false;    // holds a question word
  bool locative = false;    // a place word (附近, 楼下): "there is … nearby"
  // Negation: 没 (past) rather than 不.
  bool past = false;
  bool causative = false;   // 让/叫 + person + verb: "let us write", no "to"
  bool comparison = false;  // 比 + noun: "than noun"
  bool counted = false;     // a number and measure without a noun (三次, 一张): never a place to go to
  std::string chinese;
};

Person PersonOf(const ClosedClassWord& pronoun);
// 几点, 什么时候: a question word that asks for a time, not a thing.
bool IsTimeQuestion(const ClosedClassWord& row);

// The rendering of a word for its use: a verb's first "to" sense without
// "to", otherwise the first sense that is not a verb; failing that, the first.
std::string Sense(std::string_view senses, bool verb);
// One sense as it stands in a sentence, without "sb"/"sth" and notes in brackets.
std::string Rendering(std::string_view sense);
bool HasVerbSense(std::string_view senses);
bool HasOtherSense(std::string_view senses);
// The noun phrase as English puts it in a sentence: bare common nouns take an article.
std::string WithArticle(const Chunk& noun, std::string_view article);
std::string JoinWords(const std::vector<std::string>& words);

// The value of a number in Chinese numerals ("一千", "二十五", "零点五"), or nullopt.
std::optional<double> NumberValue(std::string_view text);
// English for a number: words up to twelve, digits above ("0.5", "25").
std::string EnglishNumber(double value);

// The chunk stage: words grouped into noun phrases and single words.
class Chunker {
 public:
  Chunker(const DictionaryIndex& index, const std::vector<ClauseWord>& words, RuleTrace* trace);
  std::vector<Chunk> Run();

 private:
  struct NounState;
  enum class Outcome { Skipped, Matched, Finished };
  using NounRule = Outcome (Chunker::*)(NounState&);
  using WordRule = bool (Chunker::*)(const ClauseWord&, Chunk&);
  static const NamedRule<NounRule> kNounRules[];
  static const NamedRule<WordRule> kWordRules[];

  std::string_view Text(std::size_t at) const;
  std::string_view Tag(std::size_t at) const;
  std::string_view Senses(std::size_t at) const;
  std::string JoinedText(std::size_t from, std::size_t to) const;
  bool IsFunctionWord(std::size_t at) const;
  bool IsNoun(std::size_t at) const;
  bool IsAdjective(std::size_t at) const;
  bool IsVerb(std::size_t at) const;
  bool IsMeasure(std::size_t at) const;
  std::size_t NumberEnd(std::size_t at) const;
  std::string NounEnglish(std::size_t at) const;
  void Fired(std::string_view rule) { Fire(m_trace, rule); }

  // Noun phrases (chinese_noun_rules.cpp).
  std::optional<Chunk> RelativeClause();
  std::optional<Chunk> DoerClause();
  std::string CountedBefore();
  std::optional<Chunk> Ba();
  std::optional<Chunk> Bei();
  std::optional<Chunk> NounPhrase();
  std::optional<Chunk> Postposed();
  Chunk Coordinated(Chunk first);
  Outcome PronounAlone(NounState& state);
  Outcome TimePossessor(NounState& state);
  Outcome Many(NounState& state);
  Outcome Determiner(NounState& state);
  Outcome NumberAndMeasure(NounState& state);
  Outcome DeterminerMeasure(NounState& state);
  Outcome ModifiersAndNouns(NounState& state);
  Outcome PluralMen(NounState& state);
  std::optional<Chunk> Finish(NounState& state);

  // Numbers (chinese_number_rules.cpp): chunks of their own before noun phrases.
  std::optional<Chunk> NumberPhrase();
  std::optional<Chunk> NameWithTitle();
  std::optional<std::string> Duration(double value, std::size_t unitAt);

  // Other words (chinese_word_rules.cpp).
  Chunk Single();
  bool NegatedWord(const ClauseWord& word, Chunk& chunk);
  bool AskedByChoice();
  bool Unknown(const ClauseWord& word, Chunk& chunk);
  bool Copula(const ClauseWord& word, Chunk& chunk);
  bool HaveNo(const ClauseWord& word, Chunk& chunk);
  bool Negation(const ClauseWord& word, Chunk& chunk);
  bool Progressive(const ClauseWord& word, Chunk& chunk);
  bool HereThere(const ClauseWord& word, Chunk& chunk);
  bool TimeQuestion(const ClauseWord& word, Chunk& chunk);
  bool Comparison(const ClauseWord& word, Chunk& chunk);
  bool AfterPlease(std::size_t at) const;
  bool PlacePhrase(const ClauseWord& word, Chunk& chunk);
  bool GrammarAdverb(const ClauseWord& word, Chunk& chunk);
  bool Already(const ClauseWord& word, Chunk& chunk);
  bool Done(const ClauseWord& word, Chunk& chunk);
  bool Please(const ClauseWord& word, Chunk& chunk);
  bool ModalVerb(const ClauseWord& word, Chunk& chunk);
  bool Want(const ClauseWord& word, Chunk& chunk);
  bool MoreOrLess(const ClauseWord& word, Chunk& chunk);
  bool DegreeWord(const ClauseWord& word, Chunk& chunk);
  bool ClauseJoiner(const ClauseWord& word, Chunk& chunk);
  bool TimeWord(const ClauseWord& word, Chunk& chunk);
  bool Particle(const ClauseWord& word, Chunk& chunk);
  bool ALittleMore(const ClauseWord& word, Chunk& chunk);
  bool DescribedAfterDegree(const ClauseWord& word, Chunk& chunk);
  bool StateAfterSubject(const ClauseWord& word, Chunk& chunk);
  bool VerbWord(const ClauseWord& word, Chunk& chunk);
  void CausativeSense(const ClauseWord& word, Chunk& chunk);
  bool AdjectiveWord(const ClauseWord& word, Chunk& chunk);
  bool AdverbWord(const ClauseWord& word, Chunk& chunk);
  bool AnyWord(const ClauseWord& word, Chunk& chunk);
  static Chunk NegationChunk(bool past);

  const DictionaryIndex& m_index;
  std::vector<ClauseWord> m_words;  // a copy: 有没有 loses its denied half
  RuleTrace* m_trace;
  std::vector<bool> m_functionWords;
  std::size_t m_at = 0;
  bool m_inPlace = false;
  std::vector<Chunk> m_chunks;
};

// The order and inflect stages: chunks in English order, the verb inflected.
std::vector<EnglishWord> WriteEnglishClause(std::vector<Chunk> chunks, bool question, RuleTrace* trace);

}  // namespace parlavo::server::chinese_rules
