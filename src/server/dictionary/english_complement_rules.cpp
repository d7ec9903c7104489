// The order stage's complements, English → Chinese: what follows the verb
// group (objects, places, times, further verbs), each item taken by the
// first rule of kComplementRules that matches; and the verb group's rules
// for let and no, which take what follows them.

#include "dictionary/english_rules.h"

namespace parlavo::server::english_rules {

// let me know → 让我知道: the object and the verb follow.
bool ClauseBuilder::LetVerb(Predicate& p) {
  if (!Is(Kind::Let) || !p.verb.empty()) return false;
  p.verb = Current().chinese;
  return true;
}

// No smoking → 禁止吸烟.
bool ClauseBuilder::NoVerbing(Predicate& p) {
  if (!Is(Kind::No) || !p.verb.empty() || NextKind() != Kind::Verb) return false;
  p.verb = "禁止" + m_items[++m_at].chinese;
  return true;
}

// no money → 没有钱.
bool ClauseBuilder::NoNoun(Predicate& p) {
  if (!Is(Kind::No) || !p.verb.empty()) return false;
  p.verb = "没有";
  return true;
}

// today, tomorrow → a time, before the verb.
bool ClauseBuilder::TimeComplement(Predicate& p) {
  if (!Is(Kind::Time)) return false;
  p.times.push_back(Current().chinese);
  ++m_at;
  return true;
}

// every day → 每天; every morning → 每天早上; three times a day → 每天 … 三次.
bool ClauseBuilder::EveryTime(Predicate& p) {
  const std::string& before = m_at > 0 ? m_items[m_at - 1].lookup : Current().lookup;
  const bool often = m_at > 0 && (m_items[m_at - 1].chinese.ends_with("次") || before == "times" ||
                                  before == "once" || before == "twice");
  const bool every = IsWord("every") || (often && (IsWord("a") || IsWord("per")));
  if (!every || m_at + 1 >= m_items.size()) return false;
  const Item& next = m_items[m_at + 1];
  const ClosedClassWord* unit = EnglishClosedWord(next.lookup, WordClass::TimeUnit);
  if (next.kind != Kind::Time && !unit) return false;
  p.times.push_back(unit ? "每" + std::string(unit->chinese) : "每天" + next.chinese);
  m_at += 2;
  return true;
}

// next Friday → 下周五; last month → 上个月.
bool ClauseBuilder::LastNext(Predicate& p) {
  if ((!IsWord("last") && !IsWord("next")) || m_at + 1 >= m_items.size()) return false;
  const Item& next = m_items[m_at + 1];
  if (next.kind != Kind::Time && next.kind != Kind::Noun) return false;
  const bool weekday = EnglishClosedWord(next.lookup, WordClass::Weekday) != nullptr;
  p.times.push_back((IsWord("last") ? (weekday ? "上" : "上个") : (weekday ? "下" : "下个")) + next.chinese);
  m_at += 2;
  return true;
}

// here/there → 这里/那里: a place before the verb, or what "be" says.
bool ClauseBuilder::HereThere(Predicate& p) {
  if (!IsWord("here") && !(Is(Kind::There) && !IsNext("is") && !IsNext("are"))) return false;
  const std::string place = IsWord("here") ? "这里" : "那里";
  if (p.verb.empty() && p.be && p.complement.empty()) {
    p.objects.push_back(place);
    p.objectIsPlace = true;
  } else {
    m_places.push_back("在" + place);
  }
  ++m_at;
  return true;
}

// in the park → 在公园里, before the verb; at nine → 九点; to school → 学校.
bool ClauseBuilder::PrepositionPhrase(Predicate& p) {
  if (!Is(Kind::Preposition)) return false;
  Preposition(p, p.verb.empty() && p.be && p.complement.empty());
  return true;
}

// want to buy → 想买; go and eat → 去吃.
bool ClauseBuilder::ExtraVerb(Predicate& p) {
  if (!Is(Kind::Verb) || Current().inflection == Inflection::Past) return false;
  p.extraVerbs.push_back(Current().chinese);
  ++m_at;
  return true;
}

// is not very big → the adjective after a negation or adverb.
bool ClauseBuilder::LateComplement(Predicate& p) {
  if (!Is(Kind::Adjective) || !p.be || !p.complement.empty()) return false;
  p.complement = Current().chinese;
  ++m_at;
  return true;
}

// very much, very well → 很; too → 太.
bool ClauseBuilder::LateDegree(Predicate& p) {
  if (!Is(Kind::Degree)) return false;
  if (IsNext("much") || IsNext("well")) {
    p.adverbs += "很";
    ++m_at;
  } else {
    p.degree = Current().chinese;
  }
  ++m_at;
  return true;
}

// verb … best/least at the clause end → 最 (不) before the verb: like tea best → 最喜欢茶.
bool ClauseBuilder::LateBest(Predicate& p) {
  if (p.verb.empty() || m_at + 1 != m_items.size() || (!IsWord("best") && !IsWord("least"))) return false;
  p.adverbs += IsWord("best") ? "最" : "最不";
  ++m_at;
  return true;
}

// I go there often → 经常, before the verb.
bool ClauseBuilder::LateAdverb(Predicate& p) {
  if (!Is(Kind::Adverb)) return false;
  p.adverbs += Current().chinese;
  ++m_at;
  return true;
}

// A noun phrase: the object (or a time: "this morning").
bool ClauseBuilder::ObjectPhrase(Predicate& p) {
  m_noIndefinite = p.be && p.verb.empty();
  auto noun = ParseNounPhrase();
  if (!noun) return false;
  m_noIndefinite = false;
  if (noun->time) {
    p.times.push_back(noun->chinese);
  } else {
    (p.extraVerbs.empty() ? p.objects : m_extraObjects).push_back({noun->chinese, noun->latin});
  }
  return true;
}

// have no money → 没有钱; need no help → 不需要帮助.
bool ClauseBuilder::NoObject(Predicate& p) {
  if (!Is(Kind::No)) return false;
  if (p.verb == "有")
    p.verb = "没有";
  else
    p.negated = true;
  ++m_at;
  return true;
}

// go and eat → 去吃.
bool ClauseBuilder::AndVerb(Predicate&) {
  if (!Is(Kind::Conjunction) || (!IsWord("and") && !IsWord("or")) || NextKind() != Kind::Verb) return false;
  ++m_at;
  return true;
}

// coffee and tea → 咖啡和茶.
bool ClauseBuilder::AndNoun(Predicate& p) {
  if (!Is(Kind::Conjunction) || (!IsWord("and") && !IsWord("or"))) return false;
  (p.extraVerbs.empty() ? p.objects : m_extraObjects).push_back(Current().chinese);
  ++m_at;
  return true;
}

// Anything else keeps its Chinese after the clause.
bool ClauseBuilder::Rest(Predicate&) {
  if (!Current().chinese.empty()) m_after.push_back({Current().chinese, Current().latin});
  ++m_at;
  return true;
}

}  // namespace parlavo::server::english_rules
