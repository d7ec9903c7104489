// The order and inflect stages, Chinese → English: chunks put in English
// order (joiner, question word, subject, verb group, objects, places, times)
// and the verb group inflected for its subject, tense, negation and question.

#include "dictionary/chinese_rules.h"
#include "dictionary/english_morphology.h"

namespace parlavo::server::chinese_rules {

namespace {

bool IsPredicate(Role role) {
  return role == Role::Verb || role == Role::Copula || role == Role::Adjective || role == Role::Degree ||
         role == Role::Negation || role == Role::Modal || role == Role::Progressive || role == Role::Already ||
         role == Role::Place || role == Role::Adverb;
}

// "cannot find", "must go": glosses that already hold a modal take no ending.
bool IsModalVerb(std::string_view verb) {
  for (std::string_view modal : {"can", "cannot", "must", "should", "may", "might", "will", "would", "could"}) {
    if (verb == modal || (verb.starts_with(modal) && verb.substr(modal.size()).starts_with(' '))) return true;
  }
  return false;
}

// "cold" → "colder", "big" → "bigger", "easy" → "easier", "expensive" → "more expensive".
std::string Comparative(const std::string& adjective) {
  if (adjective == "good" || adjective == "well") return "better";
  if (adjective == "bad") return "worse";
  if (adjective == "many" || adjective == "much") return "more";
  const auto vowel = [](char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; };
  if (adjective.find(' ') != std::string::npos || adjective.size() > 6) return "more " + adjective;
  const std::size_t n = adjective.size();
  if (adjective.ends_with('y') && n > 2) return adjective.substr(0, n - 1) + "ier";
  if (adjective.ends_with('e')) return adjective + "r";
  if (n >= 3 && !vowel(adjective[n - 1]) && vowel(adjective[n - 2]) && !vowel(adjective[n - 3]) &&
      adjective[n - 1] != 'w' && adjective[n - 1] != 'y')
    return adjective + adjective.back() + "er";
  return adjective + "er";
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

std::string Be(Person person, bool past) {
  if (past) return person == Person::Plural ? "were" : "was";
  return person == Person::First ? "am" : person == Person::Plural ? "are" : "is";
}

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
  std::string verbChinese;
  bool countedFirst = false;  // 去了三次: "went three times", no place
  bool comparison = false;         // 比 + noun before the predicate
};

class ClauseWriter {
 public:
  ClauseWriter(std::vector<Chunk> chunks, bool question, RuleTrace* trace)
      : m_chunks(std::move(chunks)), m_question(question), m_trace(trace) {}

  std::vector<EnglishWord> Run() {
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

 private:
  void Fired(std::string_view rule) { Fire(m_trace, rule); }

  Person SubjectPerson() const {
    if (!m_subject) return Person::Plural;
    if (m_subject->pronoun) return PersonOf(*m_subject->pronoun);
    return m_subject->plural ? Person::Plural : Person::Third;
  }

  // 下雨, 下雪 …: weather, which English says of "it".
  bool RainsOrSnows() const {
    for (const Chunk& chunk : m_chunks) {
      if (chunk.role == Role::Verb) return chunk.english == "rain" || chunk.english == "snow";
      if (chunk.role != Role::Modal && chunk.role != Role::Negation && chunk.role != Role::Adverb) return false;
    }
    return false;
  }

  // (地方 +) 有 + 名词 → there is + noun (+ place): 附近有酒店 → "there is a hotel nearby".
  void ThereIs() {
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
  void TakeTimeWords() {
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

  void WritePredicate(bool imperative) {
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
    if (imperative && !m_subject && !m_please && p.kind == Predicate::Kind::Be && !p.progressive && p.modal.empty() &&
        ((!p.after.empty() && !m_question) || askedWhat)) {
      Fired("no subject + adjective: it is");  // 太贵了: "It is too expensive"
      m_subject = It();
      imperative = false;
    }
    Inflect(p, imperative);
    Write(p);
  }

  // 不/能/在/已经/很/也 + 在 + 地方 + 动词: what comes before the main verb.
  std::size_t GatherBeforeVerb(Predicate& p) {
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
  std::size_t MainPredicate(Predicate& p, std::size_t i) {
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
      if (i < m_chunks.size() && m_chunks[i].role == Role::Noun && m_chunks[i].question && m_question &&
          m_chunks[i].english.find(' ') == std::string::npos) {
        Fired("是 + question word: question word + be");  // 这是什么: "What is this?"
        m_whWord = m_chunks[i++].english;
        return i;
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
      if (p.adverbs == "more and more") {
        Fired("越来越 + adjective: getting comparative and comparative");  // "getting colder and colder"
        const std::string more = Comparative(m_chunks[i].english);
        p.adverbs.clear();
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
  void Objects(Predicate& p, std::size_t i) {
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
  std::string Recipient(Predicate& p, std::string object) {
    if (p.verbChinese.size() > std::string_view("给").size() && p.verbChinese.ends_with("给") && !p.after.empty()) {
      Fired("verb + 给 + person: to person");
      return "to " + object;
    }
    return object;
  }

  // The first word of the verb group agrees with the subject and carries tense and negation.
  void Inflect(Predicate& p, bool imperative) {
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
  void Write(Predicate& p) {
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
  void EmitTime() {
    for (const std::string& time : m_time) {
      if (time.starts_with("at ")) Emit(time);
    }
    const auto isPartOfDay = [](const std::string& time) {
      return time.ends_with("morning") || time == "afternoon" || time == "evening" || time == "night";
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
  void Emit(const Chunk& chunk, std::string_view article = "", bool object = false) {
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
  void Emit(const std::string& words) {
    if (!words.empty()) m_out.push_back({words, false});
  }

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

}  // namespace

std::vector<EnglishWord> WriteEnglishClause(std::vector<Chunk> chunks, bool question, RuleTrace* trace) {
  return ClauseWriter(std::move(chunks), question, trace).Run();
}

}  // namespace parlavo::server::chinese_rules
