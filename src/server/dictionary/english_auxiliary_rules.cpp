// The verb group, English → Chinese: negation, modals and do-support, and
// auxiliaries whose Chinese is not the sum of their words (must not, be going
// to, be going/coming, was + a state the dictionary calls a verb); the list
// kVerbGroupRules (english_order_rules.cpp) orders them.

#include "dictionary/english_rules.h"

namespace parlavo::server::english_rules {

// not → 不; never → 从不.
bool ClauseBuilder::Negator(Predicate& p) {
  if (!Is(Kind::Not)) return false;
  if (Current().chinese == "不") {
    p.negated = true;
    return true;
  }
  // never: 从不, a negation of its own; in the perfect 从 + the 没 of a denied perfect (从没去过).
  std::string never = Current().chinese;
  if (p.perfect && never.ends_with("不")) {
    never.resize(never.size() - std::string_view("不").size());
    p.negated = true;
  }
  p.adverbs += never;
  return true;
}

// can/will/should → 能/会/应该; Can I …? asks leave: 我可以…吗.
bool ClauseBuilder::ModalWord(Predicate& p) {
  if (!Is(Kind::Modal)) return false;
  const bool leave = m_question && IsWord("can") && m_subject && (m_subject->chinese == "我" || m_subject->chinese == "我们");
  p.modal = leave ? "可以" : Current().chinese;
  return true;
}

// do/does/did + verb → the verb (only the tense counts).
bool ClauseBuilder::DoSupport(Predicate& p) {
  const Kind next = NextKind();
  if (!Is(Kind::Do) || !p.verb.empty() ||
      !(next == Kind::Verb || next == Kind::Not || next == Kind::Adverb || next == Kind::Have || next == Kind::Be ||
        next == Kind::Do)) {
    return false;
  }
  p.past = p.past || Current().past;
  return true;
}

// do as the verb itself → 做.
bool ClauseBuilder::DoVerb(Predicate& p) {
  if (!Is(Kind::Do) || !p.verb.empty()) return false;
  p.verb = Current().chinese;
  p.past = p.past || Current().past;
  return true;
}

// must not + verb → 不能 + verb: a prohibition, not 不必须 (need not).
bool ClauseBuilder::MustNot(Predicate& p) {
  if (!IsWord("must") || NextKind() != Kind::Not || !p.modal.empty()) return false;
  p.modal = "不能";
  ++m_at;
  return true;
}

// be going to + verb → 要 + verb (not going to: 不会): a plan, nothing under way.
bool ClauseBuilder::GoingTo(Predicate& p) {
  if (!p.be || !p.verb.empty() || !IsWord("going") || !IsNext("to") || m_at + 2 >= m_items.size() ||
      m_items[m_at + 2].kind != Kind::Verb) {
    return false;
  }
  p.modal = p.negated ? "会" : "要";
  p.be = false;
  ++m_at;
  return true;
}

// be going/coming (to a place) → 去/来, no 在: the trip is planned, not under way.
bool ClauseBuilder::GoingComing(Predicate& p) {
  if (!p.be || !p.verb.empty() || !Is(Kind::Verb) || Current().inflection != Inflection::Progressive ||
      (Current().chinese != "去" && Current().chinese != "来")) {
    return false;
  }
  p.verb = Current().chinese;
  return true;
}

// was + a verb in its plain form ("was busy") → 很 + the state: a past state takes no 了.
bool ClauseBuilder::BeState(Predicate& p) {
  if (!p.be || !p.past || !p.verb.empty() || !p.complement.empty() || !Is(Kind::Verb) ||
      Current().inflection != Inflection::None) {
    return false;
  }
  p.complement = Current().chinese;
  return true;
}

}  // namespace parlavo::server::english_rules
