// The order stage, Chinese → English: chunks put in English order (joiner,
// question word, subject, verb group, objects, places, times); the verb group
// is inflected and written by chinese_inflect_rules.cpp.

#include "dictionary/chinese_clause_writer.h"
#include "dictionary/english_morphology.h"

namespace parlavo::server::chinese_rules {

namespace {

bool IsPredicate(Role role) {
  return role == Role::Verb || role == Role::Copula || role == Role::Adjective || role == Role::Degree ||
         role == Role::Negation || role == Role::Modal || role == Role::Progressive || role == Role::Already ||
         role == Role::Place || role == Role::Adverb;
}

// Words the time of an event stands with: 明天, 下周 … say the clause is about the future.
bool IsFutureTime(std::string_view chinese) {
  return chinese.starts_with("明") || chinese.starts_with("下") || chinese.starts_with("将");
}

// "it" as a subject English needs and Chinese leaves out.
Chunk It() {
  Chunk it;
  it.role = Role::Noun;
  it.pronoun = ChineseClosedWord("它", WordClass::Pronoun);
  it.english = "it";
  return it;
}

}  // namespace

std::vector<EnglishWord> ClauseWriter::Run() {
  for (const Chunk& chunk : m_chunks) {
    if (chunk.chinese == "吗") m_question = m_yesNo = true;
  }
  TakeTimeWords();
  if (!m_chunks.empty() && m_chunks.front().role == Role::Conjunction) {
    Fired("joiner first");
    Emit(m_chunks.front().english);
    m_chunks.erase(m_chunks.begin());
    m_joined = true;
  }
  if (!m_chunks.empty() && m_chunks.front().chinese == "请问" && m_chunks.size() > 1) {
    Fired("请问 + question: excuse me");
    Emit("excuse me,");
    m_chunks.erase(m_chunks.begin());
  }
  const bool please = m_please = !m_chunks.empty() && m_chunks.front().role == Role::Please;
  if (please) {
    Emit("please");
    m_chunks.erase(m_chunks.begin());
  }
  // 名词 + 里/上 + 有: the place of "there is" (商店里有人 → there are people in the store).
  if (m_chunks.size() > 2 && m_chunks[0].role == Role::Noun && !m_chunks[0].pronoun && m_chunks[2].chinese == "有") {
    if (const ClosedClassWord* locative = ChineseClosedWord(m_chunks[1].chinese, WordClass::Locative)) {
      m_subject = std::move(m_chunks[0]);
      m_subject->english = std::string(locative->english) + ' ' + WithArticle(*m_subject, "the");
      m_subject->locative = m_subject->proper = true;
      m_chunks.erase(m_chunks.begin(), m_chunks.begin() + 2);
      ThereIs();
    }
  }
  // Subject: a noun phrase before the predicate.
  if (m_chunks.size() > 1 && m_chunks.front().role == Role::Noun && IsPredicate(m_chunks[1].role)) {
    m_subject = std::move(m_chunks.front());
    m_chunks.erase(m_chunks.begin());
  }
  if (m_subject && m_subject->pronoun && m_subject->english == "you" && !m_chunks.empty() &&
      m_chunks.front().chinese == "别") {
    Fired("你 + 别 + verb: don't + verb");
    m_subject.reset();
  }
  // 我们 + 动词 + 吧 → let's + verb.
  const bool suggestion = !m_chunks.empty() && m_chunks.back().chinese == "吧";
  if (suggestion && m_subject && m_subject->pronoun && m_subject->english == "we") {
    Fired("我们 + verb + 吧: let's + verb");
    Emit("let's");
    m_subject.reset();
    WritePredicate(true);
    EmitTime();
    return std::move(m_out);
  }
  if (m_question && m_chunks.size() == 2 && m_chunks[0].role == Role::Noun && m_chunks[1].role == Role::Noun &&
      m_chunks[1].question && !m_chunks[0].question) {
    Fired("noun + question noun: question + be + noun");  // 这个多少钱: "How much money is this?"
    m_whWord = m_chunks[1].english;
    m_subject = std::move(m_chunks[0]);
    m_chunks.pop_back();
    m_chunks.front().role = Role::Copula;
    m_chunks.front().english.clear();
    Predicate p;
    p.group.push_back(Be(SubjectPerson(), false));
    Write(p);
    EmitTime();
    return std::move(m_out);
  }
  if (!m_subject && !please && !m_chunks.empty() && m_chunks.front().role == Role::Noun) {
    Fired("noun phrase alone: heading");  // 下载完成, 禁止停车
    for (const Chunk& chunk : m_chunks) Emit(chunk, "", !m_out.empty());
    EmitTime();
    return std::move(m_out);
  }
  ThereIs();
  if (!m_subject && !please && RainsOrSnows()) {
    Fired("rain/snow without subject: it");  // 明天会下雨吗: "Will it rain tomorrow?"
    m_subject = It();
  }
  if (m_joined && !m_subject && !please && !m_chunks.empty() && m_chunks.front().role != Role::Noun) {
    Fired("joiner + no subject: it");  // 如果下雨: "if it rains"
    m_subject = It();
  }
  WritePredicate(please || !m_subject);
  EmitTime();
  return std::move(m_out);
}

Person ClauseWriter::SubjectPerson() const {
  if (!m_subject) return Person::Plural;
  if (m_subject->pronoun) return PersonOf(*m_subject->pronoun);
  return m_subject->plural ? Person::Plural : Person::Third;
}

// 下雨, 下雪 …: weather, which English says of "it".
bool ClauseWriter::RainsOrSnows() const {
  for (const Chunk& chunk : m_chunks) {
    if (chunk.role == Role::Verb) return chunk.english == "rain" || chunk.english == "snow";
    if (chunk.role != Role::Modal && chunk.role != Role::Negation && chunk.role != Role::Adverb) return false;
  }
  return false;
}

// (地方 +) 有 + 名词 → there is + noun (+ place): 附近有酒店 → "there is a hotel nearby".
void ClauseWriter::ThereIs() {
  const bool placed = m_subject && m_subject->locative;
  if ((m_subject && !placed) || m_please || m_chunks.empty() || m_chunks.front().chinese != "有" ||
      m_chunks.front().role != Role::Verb) {
    return;
  }
  Fired("(place +) 有 + noun: there is + noun");
  Chunk there;
  there.role = Role::Noun;
  there.english = "there";
  there.proper = true;
  there.plural = m_chunks.size() > 1 && m_chunks[1].plural;
  if (placed) {
    Chunk place = std::move(*m_subject);
    place.role = Role::Place;
    place.english = WithArticle(place, "");  // "nearby", "downstairs"
    m_chunks.push_back(std::move(place));
  }
  m_subject = std::move(there);
  m_chunks.front().role = Role::Copula;
}

// 时间 + … → … + time: 今天, 明天, 每天早上 go to the end of the English clause.
void ClauseWriter::TakeTimeWords() {
  std::vector<Chunk> rest;
  for (std::size_t i = 0; i < m_chunks.size(); ++i) {
    Chunk& chunk = m_chunks[i];
    if (chunk.role == Role::Time) {
      if (IsFutureTime(chunk.chinese)) m_future = true;
      if (chunk.chinese == "现在") m_now = true;
      if (!m_time.empty() && m_time.back() == "every day") m_time.back() = "every";
      m_time.push_back(chunk.english);
    } else if (chunk.chinese.starts_with("每") && i + 1 < m_chunks.size() && m_chunks[i + 1].role == Role::Time) {
      m_time.push_back("every");  // 每天早上: "every morning"
    } else if (chunk.chinese.starts_with("每") && chunk.role != Role::Noun) {
      m_time.push_back(chunk.english);
    } else {
      rest.push_back(std::move(chunk));
    }
  }
  if (!m_time.empty()) Fired("time words last");
  m_chunks = std::move(rest);
}

void ClauseWriter::WritePredicate(bool imperative) {
  Predicate p;
  std::size_t i = GatherBeforeVerb(p);
  i = MainPredicate(p, i);
  if (p.bare) {
    Fired("nothing to inflect: words in order");
    if (m_subject) Emit(*m_subject, "the");
    for (const std::string& place : p.places) Emit(place);
    for (; i < m_chunks.size(); ++i) Emit(m_chunks[i], "", true);
    return;
  }
  Objects(p, i);
  const bool askedWhat = m_question && !m_whWord.empty() && p.after.empty();  // 现在几点: "what time is it"
  const bool askedCan = m_question && !p.modal.empty() && !p.after.empty();  // 可以便宜一点吗: "can it be"
  if (imperative && !m_subject && !m_please && p.kind == Predicate::Kind::Be && !p.progressive &&
      ((p.modal.empty() && ((!p.after.empty() && !m_question) || askedWhat)) || askedCan)) {
    Fired("no subject + adjective: it is");  // 太贵了: "It is too expensive"
    m_subject = It();
    imperative = false;
  }
  Inflect(p, imperative);
  Write(p);
}

// 不/能/在/已经/很/也 + 在 + 地方 + 动词: what comes before the main verb.
std::size_t ClauseWriter::GatherBeforeVerb(Predicate& p) {
  std::size_t i = 0;
  for (; i < m_chunks.size(); ++i) {
    const Chunk& chunk = m_chunks[i];
    if (chunk.role == Role::Negation) {
      p.negated = true;
      p.negatedPast = p.negatedPast || chunk.past;
    } else if (chunk.role == Role::Modal) {
      p.modal = m_future && chunk.chinese == "会" ? "will" : chunk.english;
    } else if (chunk.role == Role::Progressive) {
      p.progressive = true;
    } else if (chunk.role == Role::Already) {
      p.ever = p.ever || (chunk.chinese == "过" && !p.already);
      p.already = true;
    } else if (chunk.role == Role::Degree) {
      p.degree = chunk.english;
    } else if (chunk.role == Role::Adverb) {
      if (!chunk.english.empty()) p.adverbs += (p.adverbs.empty() ? "" : " ") + chunk.english;
    } else if (chunk.role == Role::Place && i + 1 < m_chunks.size() && m_chunks[i + 1].role != Role::Done) {
      Fired("在 + place + verb: place after the verb");
      p.comparison = p.comparison || chunk.comparison;
      if (chunk.comparison && i + 1 < m_chunks.size() && m_chunks[i + 1].role == Role::Verb)
        p.places.push_back("compared with" + chunk.english.substr(4));  // 比去年增长: "grew … compared with last year"
      else if (chunk.question)
        m_whWord = chunk.english;
      else
        p.places.push_back(chunk.english);
    } else {
      break;
    }
  }
  for (std::size_t j = i; j < m_chunks.size(); ++j) p.done = p.done || m_chunks[j].role == Role::Done;
  return i;
}

// The main predicate: a verb, 是 + noun, an adjective or 在 + place; "be" for all but a verb.
std::size_t ClauseWriter::MainPredicate(Predicate& p, std::size_t i) {
  const Role role = i < m_chunks.size() ? m_chunks[i].role : Role::Other;
  if (role == Role::Verb && m_chunks[i].english.starts_with("be ")) {
    Fired("be + participle");
    p.after.push_back(m_chunks[i].english.substr(3));
    p.passivePast = m_chunks[i].past;
    return i + 1;
  }
  if (role == Role::Verb) {
    p.kind = Predicate::Kind::Verb;
    p.verb = m_chunks[i].english;
    p.causative = m_chunks[i].causative;
    p.verbChinese = m_chunks[i].chinese;
    return i + 1;
  }
  if (role == Role::Copula) {
    Fired("是 + noun: be + a noun");
    ++i;
    const bool howMuch = i < m_chunks.size() && m_chunks[i].english == "how much";  // 号码是多少: "what is"
    if (i < m_chunks.size() && m_chunks[i].role == Role::Noun && m_chunks[i].question && m_question &&
        (m_chunks[i].english.find(' ') == std::string::npos || howMuch)) {
      Fired("是 + question word: question word + be");  // 这是什么: "What is this?"
      m_whWord = howMuch ? "what" : m_chunks[i].english;
      return i + 1;
    }
    if (i < m_chunks.size() && m_chunks[i].role == Role::Noun) {
      const Chunk& noun = m_chunks[i++];
      const bool pluralSubject =
          m_subject &&
          (m_subject->pronoun ? m_subject->english == "we" || m_subject->english == "they" : m_subject->plural);
      const bool single = noun.english.starts_with("this ") || noun.english.starts_with("that ") ||
                          noun.english.starts_with("a ") || noun.english.starts_with("an ");
      const bool plural = pluralSubject && !noun.plural && !noun.proper && !noun.pronoun && !noun.kept && !single;
      p.after.push_back(plural ? Plural(noun.english) : WithArticle(noun, "a"));  // 我们是朋友: "friends"
    }
    return i;
  }
  if (role == Role::Adjective) {
    Fired("adjective predicate: be + adjective");
    if (p.degree == "more and more") {
      Fired("越来越 + adjective: getting comparative and comparative");  // "getting colder and colder"
      const std::string more = Comparative(m_chunks[i].english);
      p.degree.clear();
      p.after.push_back("getting " + (more.starts_with("more ") ? "more and " + more : more + " and " + more));
      return i + 1;
    }
    if (p.comparison) {
      Fired("比 + noun + adjective: comparative than noun");
      p.after.push_back(Comparative(m_chunks[i].english));
      return i + 1;
    }
    p.after.push_back((p.degree.empty() ? "" : p.degree + " ") + m_chunks[i].english);
    p.degree.clear();
    return i + 1;
  }
  if (role == Role::Place) {
    Fired("在 + place: be in the place");
    if (m_chunks[i].question)
      m_whWord = m_chunks[i].english;
    else
      p.after.push_back(m_chunks[i].english);
    return i + 1;
  }
  p.bare = !p.progressive && !p.negated && p.modal.empty();
  return i;
}

// 动词 + 宾语 → verb + object; 动词 + 动词 → verb to verb; 去 + 地方 → go to place.
void ClauseWriter::Objects(Predicate& p, std::size_t i) {
  bool verbBefore = p.kind == Predicate::Kind::Verb;
  for (; i < m_chunks.size(); ++i) {
    Chunk& chunk = m_chunks[i];
    if (chunk.role == Role::Done || (chunk.role == Role::Other && chunk.english.empty())) continue;
    if (chunk.role == Role::Negation) {
      Fired("negation after the verb: not");
      p.after.emplace_back(i + 1 < m_chunks.size() && m_chunks[i + 1].role == Role::Noun ? "no" : "not");
    } else if ((chunk.role == Role::Noun && chunk.question && m_question) ||
               (chunk.role == Role::Place && chunk.question)) {
      m_whWord = chunk.english;  // 你叫什么名字: the question word leads
    } else if (chunk.role == Role::Noun && chunk.pronoun) {
      p.after.push_back(Recipient(p, std::string(chunk.pronoun->object)));
    } else if (chunk.role == Role::Noun) {
      p.countedFirst = p.countedFirst || (p.after.empty() && chunk.counted);
      p.after.push_back(Recipient(p, WithArticle(chunk, verbBefore ? "" : "the")));
    } else if (chunk.role == Role::Place) {
      p.places.push_back(chunk.english);
    } else if (chunk.role == Role::Verb && verbBefore) {
      Fired("verb + verb: verb to verb");
      const bool bare = (p.after.empty() && p.verb.ends_with(" to")) || p.causative;
      p.after.push_back((bare ? "" : "to ") + chunk.english);
    } else if (chunk.role == Role::Degree && i + 1 < m_chunks.size()) {
      p.after.push_back(chunk.english);
    } else if (!chunk.english.empty()) {
      p.after.push_back(chunk.english);
      verbBefore = chunk.role == Role::Verb || verbBefore;
    }
  }
  if (p.kind == Predicate::Kind::Verb && (p.verb == "go" || p.verb == "come" || p.verb == "return") &&
      !p.after.empty() && !p.after.front().starts_with("to ") && !p.countedFirst && !(p.after.size() > 1 && p.after[1].starts_with("to "))) {
    Fired("去 + place: go to place");
    p.after.front() = "to " + p.after.front();
  }
}

// 把 + 名词 + 动词给 + 人 → verb + noun + to + person (把书还给他 → return the book to him).
std::string ClauseWriter::Recipient(Predicate& p, std::string object) {
  if (p.verbChinese.size() > std::string_view("给").size() && p.verbChinese.ends_with("给") && !p.after.empty()) {
    Fired("verb + 给 + person: to person");
    return "to " + object;
  }
  return object;
}

std::vector<EnglishWord> WriteEnglishClause(std::vector<Chunk> chunks, bool question, RuleTrace* trace) {
  return ClauseWriter(std::move(chunks), question, trace).Run();
}

}  // namespace parlavo::server::chinese_rules
