#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dictionary/chinese_rules.h"

// The order and inflect stages, Chinese → English, shared by
// chinese_order_rules.cpp (chunks put in English order) and
// chinese_inflect_rules.cpp (the verb group inflected, the clause written).
namespace parlavo::server::chinese_rules {

// What comes before the main verb and what the verb group is made of.
struct Predicate {
  bool negated = false, negatedPast = false, progressive = false, already = false, done = false;
  bool ever = false;  // 过: "have been", without "already"
  std::string modal, degree, adverbs;
  std::vector<std::string> places;
  enum class Kind { Verb, Be } kind = Kind::Be;
  std::string verb;  // Verb: lemma; Be: unused
  std::vector<std::string> after;
  std::vector<std::string> group;  // the verb group, finite word first
  bool bare = false;               // nothing to inflect: words kept in their order
  bool passivePast = false;        // 被 … 了: "was taken"
  bool causative = false;          // "let us write"
  std::string verbChinese;         // 交给: the recipient takes "to"
  bool countedFirst = false;       // 去了三次: "went three times", no place
  bool comparison = false;         // 比 + noun before the predicate
};

// "cold" → "colder", "big" → "bigger", "expensive" → "more expensive".
std::string Comparative(const std::string& adjective);
std::string Be(Person person, bool past);

class ClauseWriter {
 public:
  ClauseWriter(std::vector<Chunk> chunks, bool question, RuleTrace* trace)
      : m_chunks(std::move(chunks)), m_question(question), m_trace(trace) {}
  std::vector<EnglishWord> Run();

 private:
  Person SubjectPerson() const;
  bool RainsOrSnows() const;
  void ThereIs();
  void TakeTimeWords();
  void WritePredicate(bool imperative);
  std::size_t GatherBeforeVerb(Predicate& p);
  std::size_t MainPredicate(Predicate& p, std::size_t i);
  void Objects(Predicate& p, std::size_t i);
  std::string Recipient(Predicate& p, std::string object);
  void Inflect(Predicate& p, bool imperative);
  void Write(Predicate& p);
  void EmitTime();
  void Emit(const Chunk& chunk, std::string_view article = "", bool object = false);
  void Emit(const std::string& words);
  void Fired(std::string_view rule) { Fire(m_trace, rule); }

  std::vector<Chunk> m_chunks;
  bool m_question;
  RuleTrace* m_trace;
  std::optional<Chunk> m_subject;
  bool m_yesNo = false;
  bool m_please = false;
  bool m_joined = false;  // began with if/because/but
  bool m_future = false;
  bool m_now = false;
  std::string m_whWord;
  std::vector<std::string> m_time;
  std::vector<EnglishWord> m_out;
};

}  // namespace parlavo::server::chinese_rules
