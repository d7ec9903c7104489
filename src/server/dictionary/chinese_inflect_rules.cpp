// The inflect stage, Chinese → English: the verb group agrees with its
// subject and carries tense, negation and question order; times close the
// clause.

#include "dictionary/chinese_clause_writer.h"
#include "dictionary/english_morphology.h"

namespace parlavo::server::chinese_rules {

namespace {

// "cannot find", "must go": glosses that already hold a modal take no ending.
bool IsModalVerb(std::string_view verb) {
  for (std::string_view modal : {"can", "cannot", "must", "should", "may", "might", "will", "would", "could"}) {
    if (verb == modal || (verb.starts_with(modal) && verb.substr(modal.size()).starts_with(' '))) return true;
  }
  return false;
}

}  // namespace

// "cold" → "colder", "big" → "bigger", "easy" → "easier", "rapid" → "more rapid".
std::string Comparative(const std::string& adjective) {
  if (adjective == "good" || adjective == "well") return "better";
  if (adjective == "bad") return "worse";
  if (adjective == "many" || adjective == "much") return "more";
  const auto vowel = [](char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; };
  const std::size_t n = adjective.size();
  std::size_t syllables = 0;  // vowel groups, a final silent e not counted
  for (std::size_t i = 0; i < n; ++i) {
    if (vowel(adjective[i]) && (i == 0 || !vowel(adjective[i - 1])) && !(i == n - 1 && adjective[i] == 'e')) ++syllables;
  }
  if (adjective.find(' ') != std::string::npos || n > 6 || (syllables > 1 && !adjective.ends_with('y')))
    return "more " + adjective;
  if (adjective.ends_with('y') && n > 2) return adjective.substr(0, n - 1) + "ier";
  if (adjective.ends_with('e')) return adjective + "r";
  if (n >= 3 && !vowel(adjective[n - 1]) && vowel(adjective[n - 2]) && !vowel(adjective[n - 3]) &&
      adjective[n - 1] != 'w' && adjective[n - 1] != 'y')
    return adjective + adjective.back() + "er";
  return adjective + "er";
}

std::string Be(Person person, bool past) {
  if (past) return person == Person::Plural ? "were" : "was";
  return person == Person::First ? "am" : person == Person::Plural ? "are" : "is";
}

// The first word of the verb group agrees with the subject and carries tense and negation.
void ClauseWriter::Inflect(Predicate& p, bool imperative) {
  const Person person = SubjectPerson();
  const bool past = (p.done && p.kind == Predicate::Kind::Verb) || p.negatedPast;
  auto& group = p.group;
  if (!p.modal.empty()) {
    Fired("modal + verb");
    group.push_back(p.negated ? (p.modal == "can" ? "cannot" : p.modal + " not") : p.modal);
    if (p.kind == Predicate::Kind::Be)
      group.push_back(p.progressive ? "be " + InflectVerb(p.verb, Inflection::Progressive) : "be");
    else
      group.push_back(p.verb);
  } else if (p.kind == Predicate::Kind::Be && p.already && !p.progressive) {
    Fired("已经 + be: has been");  // 已被锁定: "has been locked"
    group.push_back(person == Person::Third ? "has" : "have");
    if (p.negated) group.push_back("not");
    group.push_back("been");
  } else if (p.kind == Predicate::Kind::Be || p.progressive) {
    Fired(p.progressive ? "在 + verb: be + -ing" : "be");
    group.push_back(imperative && !m_question ? "be" : Be(person, p.passivePast));
    if (p.negated) group.push_back("not");
    if (p.progressive && p.kind == Predicate::Kind::Verb)
      group.push_back(InflectVerb(p.verb, Inflection::Progressive));
  } else if (p.already) {
    Fired("已经 + verb: have + participle");
    group.push_back(person == Person::Third ? "has" : "have");
    if (p.negated) group.push_back("not");
    // A thing that has undergone the act, with nothing after the verb, is
    // its object: "文件已保存" -> "The file has been saved".
    const bool undergone = m_subject && !m_subject->pronoun && !m_subject->proper && p.after.empty();
    const std::string participle = p.ever && p.verb == "go" ? "been" : InflectVerb(p.verb, Inflection::Participle);
    group.push_back((undergone ? "been " : p.ever ? "" : "already ") + participle);
  } else if (p.negated || (m_question && m_subject)) {
    Fired(p.negated ? "不/没 + verb: do not + verb" : "question: do + verb");
    // As spoken: "don't", "doesn't", "didn't".
    const std::string auxiliary = past ? "did" : person == Person::Third ? "does" : "do";
    group.push_back(p.negated ? (auxiliary == "do" ? "don't" : auxiliary + "n't") : auxiliary);
    group.push_back(p.verb);
  } else if (imperative || IsModalVerb(p.verb)) {
    group.push_back(p.verb);
  } else {
    Fired(past ? "verb + 了: past" : "verb agrees with subject");
    group.push_back(InflectVerb(p.verb, past                      ? Inflection::Past
                                        : person == Person::Third ? Inflection::ThirdPerson
                                                                  : Inflection::None));
  }
  // Adverbs stand before a lone verb or do-support, after another auxiliary: "still do not go", "can still go".
  const bool doSupport = group.front().starts_with("do") || group.front().starts_with("did");
  if (!p.adverbs.empty() && (group.size() == 1 || doSupport))
    group.insert(group.begin(), p.adverbs);
  else if (!p.adverbs.empty())
    group.insert(group.begin() + 1, p.adverbs);
  if (!p.degree.empty()) group.push_back(p.degree == "very" ? "really" : p.degree);
}

// 吗 + auxiliary first: "Are you …?"; a question word leads.
void ClauseWriter::Write(Predicate& p) {
  const bool auxiliaryFirst = p.group.size() > 1 || p.kind == Predicate::Kind::Be;
  const bool adverbFirst = !p.adverbs.empty() && p.group.front() == p.adverbs;
  const bool invert = m_question && m_subject && (m_yesNo || !m_whWord.empty()) && auxiliaryFirst && !adverbFirst;
  if (invert) Fired("吗: auxiliary before the subject");
  if (!m_whWord.empty()) Emit(m_whWord);
  if (invert) Emit(p.group.front());
  if (m_subject) Emit(*m_subject, "the");
  for (std::size_t g = invert ? 1 : 0; g < p.group.size(); ++g) Emit(p.group[g]);
  for (const std::string& word : p.after) Emit(word);
  for (const std::string& place : p.places) Emit(place);
  if (m_now) Emit("now");
}

// Clock times first, then a part of the day with "in the" unless after
// "every": "at three o'clock in the afternoon", "every morning".
void ClauseWriter::EmitTime() {
  for (const std::string& time : m_time) {
    if (time.starts_with("at ")) Emit(time);
  }
  // "from the early morning" is said as it is; "morning" alone takes "in the".
  const auto isPartOfDay = [](const std::string& time) {
    return (time.ends_with("morning") && time.find(' ') == std::string::npos) || time == "early morning" ||
           time == "afternoon" || time == "evening" || time == "night";
  };
  for (std::size_t t = 0; t < m_time.size(); ++t) {
    const std::string& time = m_time[t];
    if (time.starts_with("at ") || (time == "now" && m_now)) continue;
    // 今天晚上 → this evening, 明天上午 → tomorrow morning.
    if ((time == "today" || time == "tomorrow" || time == "yesterday") && t + 1 < m_time.size() &&
        isPartOfDay(m_time[t + 1])) {
      Fired("day + part of day: this evening");
      const std::string& part = m_time[t + 1];
      const std::string_view plain = part.ends_with("morning") ? "morning" : std::string_view(part);
      Emit((time == "today" ? std::string("this") : time) + ' ' + std::string(plain));
      ++t;
      continue;
    }
    const bool partOfDay = isPartOfDay(time);
    Emit(partOfDay && (t == 0 || m_time[t - 1] != "every") ? "in the " + time : time);
  }
}

// `object`: a pronoun takes its object form ("for me").
void ClauseWriter::Emit(const Chunk& chunk, std::string_view article, bool object) {
  if (chunk.pronoun) {
    Emit(std::string(object ? chunk.pronoun->object : chunk.pronoun->english));
  } else if (chunk.kept) {
    m_out.push_back({chunk.english, true});
  } else if (chunk.role == Role::Noun) {
    Emit(WithArticle(chunk, article));
  } else if (!chunk.english.empty()) {
    Emit(chunk.english);
  }
}

void ClauseWriter::Emit(const std::string& words) {
  if (!words.empty()) m_out.push_back({words, false});
}

}  // namespace parlavo::server::chinese_rules
