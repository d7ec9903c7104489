// The verb group, English → Chinese: auxiliaries whose Chinese is not the
// sum of their words (must not, be going to, be going/coming, be + a
// state the dictionary calls a verb), tried in
// kVerbGroupRules before the modal, negation and main verb rules.

#include "dictionary/english_rules.h"

namespace parlavo::server::english_rules {

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
