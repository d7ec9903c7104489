#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dictionary/closed_class_words.h"
#include "dictionary/english_clause.h"
#include "dictionary/english_morphology.h"
#include "dictionary/rule_trace.h"

// Shared by the English → Chinese rule files: the segment stage (words
// classified, multi-word units found: english_segment_rules.cpp), noun
// phrases (english_noun_rules.cpp) and the order stage (english_order_rules.cpp).
namespace parlavo::server::english_rules {

enum class Kind {
  Noun,
  Pronoun,
  Possessive,
  Article,
  Determiner,
  Number,
  Adjective,
  Verb,
  Be,
  Do,
  Have,
  Modal,
  Not,
  No,
  Wh,
  Preposition,
  Degree,
  Time,
  Please,
  There,
  Adverb,
  Conjunction,
  Let,
  Other,
};

struct Item {
  Kind kind = Kind::Other;
  std::string lookup;
  std::string text;  // as written (kept words)
  std::string chinese;
  std::string measure;
  Inflection inflection = Inflection::None;
  bool past = false;
  bool latin = false;
  bool unit = false;  // a unit of time or money: counted without a measure word (三天, 五十美元)
  bool placeName = false;  // jieba's place name: in Shanghai → 在上海, no 里
  long number = -1;
};

enum class Reading { Any, Verb, Noun };

class Lexicon {
 public:
  explicit Lexicon(const DictionaryIndex& index) : m_index(index) {}
  // The dictionary entry for a word by its forms, for the reading its place in the clause asks for.
  std::optional<std::pair<IndexWord, Inflection>> Lookup(std::string_view word, Reading reading) const;
  // The Chinese of a phrase of `count` words starting at `words[at]`, its first
  // or last word through its dictionary form ("went home", "interest rates").
  std::optional<std::pair<IndexWord, Inflection>> Phrase(const std::vector<std::string>& words, std::size_t at,
                                                         std::size_t count) const;
  std::size_t longestKey() const { return m_index.longestEnglishKey(); }

 private:
  const DictionaryIndex& m_index;
};

// The segment stage: contractions expanded, multi-word units matched longest
// first, every word classified.
std::vector<Item> Classify(const Lexicon& lexicon, const std::vector<ClauseToken>& tokens, RuleTrace* trace);

struct NounPhrase {
  std::string chinese;
  bool pronoun = false;
  bool it = false;     // "it": Chinese leaves it out as a subject
  bool place = false;  // a place name or direction: takes no 里/上
  bool time = false;
  bool question = false;
  bool latin = false;
  bool unit = false;  // a length of time or a sum: three years, fifty dollars
};

// What the verb group gathers before its objects.
struct Predicate {
  bool negated = false, past = false, progressive = false, perfect = false, passive = false, be = false;
  bool haveVerb = false;
  std::string modal, adverbs, degree, verb, complement;
  std::vector<ChinesePiece> objects;
  std::vector<std::string> times;
  std::vector<std::string> extraVerbs;
  bool objectIsPlace = false;
};

// The order stage: phrases in Chinese order (time, subject, adverbs,
// negation, modal, place, verb, objects).
class ClauseBuilder {
 public:
  ClauseBuilder(std::vector<Item> items, bool question, RuleTrace* trace)
      : m_items(std::move(items)), m_question(question), m_trace(trace) {}
  std::vector<ChinesePiece> Run();

 private:
  using VerbRule = bool (ClauseBuilder::*)(Predicate&);
  static const NamedRule<VerbRule> kVerbGroupRules[];
  static const NamedRule<VerbRule> kComplementRules[];

  bool Is(Kind kind) const { return m_at < m_items.size() && m_items[m_at].kind == kind; }
  bool IsWord(std::string_view word) const { return m_at < m_items.size() && m_items[m_at].lookup == word; }
  bool IsNext(std::string_view word) const { return m_at + 1 < m_items.size() && m_items[m_at + 1].lookup == word; }
  Kind NextKind() const { return m_at + 1 < m_items.size() ? m_items[m_at + 1].kind : Kind::Other; }
  const Item& Current() const { return m_items[m_at]; }
  void Fired(std::string_view rule) { Fire(m_trace, rule); }

  // english_noun_rules.cpp
  std::optional<NounPhrase> ParseNounPhrase();
  void Preposition(Predicate& p, bool complementSlot);
  bool TimeClause(Predicate& p, const Item& preposition);
  void SubjectModifier();

  // english_auxiliary_rules.cpp
  bool Negator(Predicate& p);
  bool ModalWord(Predicate& p);
  bool DoSupport(Predicate& p);
  bool DoVerb(Predicate& p);
  bool MustNot(Predicate& p);
  bool GoingTo(Predicate& p);
  bool GoingComing(Predicate& p);
  bool BeState(Predicate& p);

  // english_order_rules.cpp
  void ParsePredicate(const std::string& wh, const std::string& whWord);
  void Assemble(Predicate& p, const std::string& wh, const std::string& whWord);
  bool Perfect(Predicate& p);
  bool HaveTo(Predicate& p);
  bool HaveVerb(Predicate& p);
  bool BeWord(Predicate& p);
  bool AdverbWord(Predicate& p);
  bool VeryMuch(Predicate& p);
  bool DegreeBeforeVerb(Predicate& p);
  bool DegreeAfterBe(Predicate& p);
  bool MainVerb(Predicate& p);
  bool LetVerb(Predicate& p);
  bool NoVerbing(Predicate& p);
  bool NoNoun(Predicate& p);
  bool BeComplement(Predicate& p);
  bool TimeComplement(Predicate& p);
  bool EveryTime(Predicate& p);
  bool LastNext(Predicate& p);
  bool HereThere(Predicate& p);
  bool PrepositionPhrase(Predicate& p);
  bool ExtraVerb(Predicate& p);
  bool LateComplement(Predicate& p);
  bool LateDegree(Predicate& p);
  bool LateBest(Predicate& p);
  bool LateAdverb(Predicate& p);
  bool NoObject(Predicate& p);
  bool ObjectPhrase(Predicate& p);
  bool AndVerb(Predicate& p);
  bool AndNoun(Predicate& p);
  bool Rest(Predicate& p);

  std::vector<Item> m_items;
  bool m_question;
  RuleTrace* m_trace;
  std::size_t m_at = 0;
  std::optional<NounPhrase> m_subject;
  bool m_existential = false;
  std::vector<std::string> m_places;
  std::vector<ChinesePiece> m_pieces;
  std::vector<ChinesePiece> m_extraObjects;
  std::vector<ChinesePiece> m_after;
  bool m_noIndefinite = false;  // "She is a teacher", "in a hospital": 一 goes unsaid
  bool m_inOwner = false;       // parsing the N2 of "N1 of N2"
  std::size_t m_timeCount = 0;  // m_pieces begins with this many times
};

}  // namespace parlavo::server::english_rules
