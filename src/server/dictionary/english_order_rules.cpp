// The order stage, English → Chinese: the verb group gathered by
// kVerbGroupRules (auxiliaries, negation, the main verb), what follows it by
// kComplementRules (objects, places, times, further verbs), then all of it
// put in Chinese order: time, subject, adverbs, negation, modal, place, verb
// (+了), objects.

#include <algorithm>

#include "dictionary/english_rules.h"

namespace parlavo::server::english_rules {

namespace {

std::string StripZai(const std::string& place) {
  return place.starts_with("在") ? place.substr(std::string_view("在").size()) : place;
}

}  // namespace

const NamedRule<ClauseBuilder::VerbRule> ClauseBuilder::kVerbGroupRules[] = {
    {"must not: 不能", &ClauseBuilder::MustNot},
    {"not/never: 不/没", &ClauseBuilder::Negator},
    {"modal", &ClauseBuilder::ModalWord},
    {"do + verb: do-support dropped", &ClauseBuilder::DoSupport},
    {"do: 做", &ClauseBuilder::DoVerb},
    {"have + participle: perfect", &ClauseBuilder::Perfect},
    {"have to: 必须", &ClauseBuilder::HaveTo},
    {"have: 有", &ClauseBuilder::HaveVerb},
    {"be", &ClauseBuilder::BeWord},
    {"adverb before the verb", &ClauseBuilder::AdverbWord},
    {"very much: 非常", &ClauseBuilder::VeryMuch},
    {"degree before the verb", &ClauseBuilder::DegreeBeforeVerb},
    {"be + degree", &ClauseBuilder::DegreeAfterBe},
    {"be going to + verb: 要", &ClauseBuilder::GoingTo},
    {"be going/coming: 去/来, no 在", &ClauseBuilder::GoingComing},
    {"was + plain verb: a past state, 很", &ClauseBuilder::BeState},
    {"main verb", &ClauseBuilder::MainVerb},
    {"let + object + verb: 让", &ClauseBuilder::LetVerb},
    {"no + verb-ing: 禁止", &ClauseBuilder::NoVerbing},
    {"no + noun: 没有", &ClauseBuilder::NoNoun},
    {"be + adjective", &ClauseBuilder::BeComplement},
};

const NamedRule<ClauseBuilder::VerbRule> ClauseBuilder::kComplementRules[] = {
    {"time word: before the verb", &ClauseBuilder::TimeComplement},
    {"every + unit: 每", &ClauseBuilder::EveryTime},
    {"last/next: 上/下", &ClauseBuilder::LastNext},
    {"here/there: 这里/那里", &ClauseBuilder::HereThere},
    {"preposition + noun", &ClauseBuilder::PrepositionPhrase},
    {"verb + to + verb", &ClauseBuilder::ExtraVerb},
    {"be ... adjective", &ClauseBuilder::LateComplement},
    {"degree after the verb", &ClauseBuilder::LateDegree},
    {"verb ... best: 最 before the verb", &ClauseBuilder::LateBest},
    {"adverb after the verb", &ClauseBuilder::LateAdverb},
    {"no + object: 没有", &ClauseBuilder::NoObject},
    {"object", &ClauseBuilder::ObjectPhrase},
    {"go and eat: 去吃", &ClauseBuilder::AndVerb},
    {"noun and noun: 和", &ClauseBuilder::AndNoun},
    {"other words kept after", &ClauseBuilder::Rest},
};

std::vector<ChinesePiece> ClauseBuilder::Run() {
  std::string prefix, suffix;
  if (Is(Kind::Conjunction)) {
    Fired("but/because/if + clause: joiner first");
    prefix = Current().chinese;
    ++m_at;
  }
  if (Is(Kind::Please)) {
    Fired("please: 请");
    prefix += "请";
    ++m_at;
  }
  if (IsWord("let's")) {
    m_subject = NounPhrase{"我们", true};
    suffix = "吧";
    ++m_at;
  }
  // Question word first: "What is ...", "Where do ...".
  std::optional<std::string> wh;
  std::string whWord;
  if (Is(Kind::Wh)) {
    whWord = Current().lookup;
    wh = Current().chinese;
    ++m_at;
    if (whWord == "how" && (IsWord("much") || IsWord("many"))) {
      wh = "多少";
      ++m_at;
      if (Is(Kind::Be)) wh = "多少钱";  // "How much is this?": the price
    } else if (whWord == "how" && Is(Kind::Be)) {
      wh = "怎么样";  // "How is X?": X 怎么样
    } else if (whWord == "what" && IsWord("time")) {
      wh = "几点";
      ++m_at;
    } else if ((whWord == "which" || whWord == "what") && Is(Kind::Noun) &&
               (NextKind() == Kind::Do || NextKind() == Kind::Modal)) {
      Fired("which/what + noun: the question's object");  // which subject do you like: 你喜欢哪个科目
      const std::string& measure = Current().measure;
      wh = (whWord == "which" ? "哪" + (measure.empty() ? std::string("个") : measure) : *wh) + Current().chinese;
      ++m_at;
    }
  }
  // Auxiliary before the subject: a question.
  bool yesNo = false;
  std::optional<Item> frontAux;
  if (Is(Kind::Be) || Is(Kind::Do) || Is(Kind::Modal) || (Is(Kind::Have) && m_question)) {
    if (m_question || wh) {
      frontAux = Current();
      yesNo = !wh;
      ++m_at;
    }
  }
  if (!m_subject && !Is(Kind::There)) m_subject = ParseNounPhrase();
  SubjectModifier();
  if (m_subject && m_subject->time && (Is(Kind::Pronoun) || Is(Kind::Possessive) || Is(Kind::Noun))) {
    m_pieces.push_back(m_subject->chinese);  // "Tomorrow we ...": the time follows the subject
    m_subject = ParseNounPhrase();
  }
  if (Is(Kind::There) && m_at + 1 < m_items.size() && m_items[m_at + 1].kind == Kind::Be) {
    Fired("there is: 有");
    m_existential = true;
    m_at += 2;
  } else if (frontAux && frontAux->kind == Kind::Be && !m_subject && Is(Kind::There)) {
    Fired("is there …?: 有…吗");
    m_existential = true;
    frontAux.reset();
    ++m_at;
  }
  if (frontAux) Fired(yesNo ? "auxiliary first: yes/no question, 吗" : "question word first");
  if (frontAux) m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(m_at), *frontAux);

  ParsePredicate(wh.value_or(""), whWord);

  std::vector<ChinesePiece> out;
  if (!prefix.empty()) out.push_back({prefix});
  if (m_existential) {
    for (std::string& place : m_places) out.push_back({StripZai(place)});
    m_places.clear();
  }
  // Times come first in the predicate; before a noun subject they lead the
  // sentence ("今天天气很好"), after a pronoun they follow it ("我今天…").
  std::size_t leadingTimes = 0;
  while (leadingTimes < m_timeCount && leadingTimes < m_pieces.size()) ++leadingTimes;
  // A clock time follows the subject all the same: 会议三点开始.
  const bool clock = std::any_of(m_pieces.begin(), m_pieces.begin() + static_cast<std::ptrdiff_t>(leadingTimes),
                                 [](const ChinesePiece& time) { return time.text.ends_with("点"); });
  const bool timeFirst = m_subject && !m_subject->pronoun && !m_subject->time && !clock;
  if (timeFirst) {
    for (std::size_t t = 0; t < leadingTimes; ++t) out.push_back(std::move(m_pieces[t]));
  }
  if (m_subject && !m_subject->it) out.push_back({m_subject->chinese, m_subject->latin});
  for (std::size_t p = timeFirst ? leadingTimes : 0; p < m_pieces.size(); ++p) out.push_back(std::move(m_pieces[p]));
  for (ChinesePiece& piece : m_after) out.push_back(std::move(piece));
  if (yesNo && m_question) out.push_back({"吗"});
  if (!suffix.empty()) out.push_back({suffix});
  return out;
}

// Verb group, objects, places and times, in Chinese order.
void ClauseBuilder::ParsePredicate(const std::string& wh, const std::string& whWord) {
  Predicate p;
  while (m_at < m_items.size()) {
    const auto rule = std::find_if(std::begin(kVerbGroupRules), std::end(kVerbGroupRules),
                                   [&](const auto& r) { return (this->*r.apply)(p); });
    if (rule == std::end(kVerbGroupRules)) break;
    Fired(rule->name);
    ++m_at;
  }
  while (m_at < m_items.size()) {
    for (const auto& rule : kComplementRules) {
      if ((this->*rule.apply)(p)) {
        Fired(rule.name);
        break;
      }
    }
  }
  Assemble(p, wh, whWord);
}

// has been saved, have (already) finished → 已 + verb; have not been saved → 没 + verb.
bool ClauseBuilder::Perfect(Predicate& p) {
  std::size_t after = m_at + 1;
  while (after < m_items.size() && (m_items[after].kind == Kind::Not || m_items[after].kind == Kind::Adverb)) ++after;
  if (!Is(Kind::Have) || !p.verb.empty() || after >= m_items.size()) return false;
  const Item& next = m_items[after];
  if (next.kind != Kind::Be && next.inflection != Inflection::Participle && next.inflection != Inflection::Past) {
    return false;
  }
  p.perfect = true;
  return true;
}

// have to + verb → 必须 + verb.
bool ClauseBuilder::HaveTo(Predicate& p) {
  if (!Is(Kind::Have) || !p.verb.empty() || !IsNext("to")) return false;
  p.modal = "必须";
  ++m_at;
  return true;
}

// have + noun → 有.
bool ClauseBuilder::HaveVerb(Predicate& p) {
  if (!Is(Kind::Have) || !p.verb.empty()) return false;
  p.verb = Current().chinese;
  p.haveVerb = true;
  p.past = p.past || Current().past;
  return true;
}

// am/is/was → what follows decides: 是, 很, 在.
bool ClauseBuilder::BeWord(Predicate& p) {
  if (!Is(Kind::Be) || !p.verb.empty()) return false;
  if (p.perfect && IsNext("to")) {
    Fired("have been to: 去过");  // I have been to Beijing: 我去过北京
    p.verb = "去过";
    ++m_at;
    return true;
  }
  p.be = true;
  p.past = p.past || Current().past;
  return true;
}

// also/always/still → 也/总是/还, before the verb.
bool ClauseBuilder::AdverbWord(Predicate& p) {
  if (!Is(Kind::Adverb)) return false;
  p.adverbs += Current().chinese;
  return true;
}

// thank you very much, like it very much → 非常, before the verb.
bool ClauseBuilder::VeryMuch(Predicate& p) {
  if (!Is(Kind::Degree) || !IsNext("much")) return false;
  p.adverbs += "非常";
  ++m_at;
  return true;
}

// I really like → 我真喜欢.
bool ClauseBuilder::DegreeBeforeVerb(Predicate& p) {
  if (!Is(Kind::Degree) || !p.verb.empty() || p.be) return false;
  p.adverbs += Current().chinese;
  return true;
}

// is very → the degree of what follows.
bool ClauseBuilder::DegreeAfterBe(Predicate& p) {
  if (!Is(Kind::Degree) || !p.complement.empty() || !p.verb.empty()) return false;
  p.degree = Current().chinese;
  return true;
}

// The main verb: its tense, be + -ing, be/have + participle (passive).
bool ClauseBuilder::MainVerb(Predicate& p) {
  if (!Is(Kind::Verb) || !p.verb.empty() || !p.complement.empty()) return false;
  const Item& item = Current();
  p.verb = item.chinese;
  p.past = p.past || item.inflection == Inflection::Past;
  p.progressive = p.be && item.inflection == Inflection::Progressive;
  p.passive = (p.be || p.perfect) && (item.inflection == Inflection::Past || item.inflection == Inflection::Participle);
  return true;
}

// is (very) beautiful → 很漂亮.
bool ClauseBuilder::BeComplement(Predicate& p) {
  if (!p.be || !p.verb.empty() || !p.complement.empty() ||
      !(Is(Kind::Adjective) || (!p.degree.empty() && Is(Kind::Noun)))) {
    return false;
  }
  p.complement = Current().chinese;
  return true;
}

void ClauseBuilder::Assemble(Predicate& p, const std::string& wh, const std::string& whWord) {
  const bool noVerb = p.verb.empty();
  // Times from the largest unit to the smallest: 明天早上九点.
  std::stable_partition(p.times.begin(), p.times.end(),
                        [](const std::string& time) { return time.find("点") == std::string::npos; });
  for (const std::string& time : p.times) m_pieces.push_back(time);
  m_timeCount = m_pieces.size();
  std::string whAfter;
  if (!wh.empty()) {
    if (whWord == "when")
      m_pieces.push_back(wh);
    else if (whWord == "where" && p.verb.empty())
      m_places.insert(m_places.begin(), "在" + wh);
    else if (whWord == "where" && (p.verb == "去" || p.verb == "来" || p.verb == "到"))
      whAfter = wh;  // where do you go: 你去哪里
    else if (whWord == "where")
      m_places.insert(m_places.begin(), "在" + wh);  // where can I buy: 我能在哪里买
    else if (whWord == "why" || (whWord == "how" && !(noVerb && p.be)))
      m_pieces.push_back(wh);
    else
      whAfter = wh;
  }
  m_pieces.push_back(p.adverbs);
  // 没 denies what happened or is going on; 不 a habit, a state or a wish.
  const bool happened = (p.past && (!p.be || p.passive)) || p.progressive || p.haveVerb || p.perfect;
  // Without a subject, a denial is a prohibition: 不要.
  // might not: 可能不, a possibility denied after the modal; cannot: 不能.
  const bool negationAfterModal = p.modal == "可能";
  if (negationAfterModal) m_pieces.push_back(p.modal);
  if (p.negated && !m_existential) {
    m_pieces.push_back(!m_subject ? "不要" : happened && p.modal.empty() ? "没" : "不");
  }
  if (p.perfect && p.passive && !p.negated) m_pieces.push_back("已");
  if (!negationAfterModal) m_pieces.push_back(p.modal);
  if (p.progressive && m_places.empty() && !p.negated) m_pieces.push_back("在");
  // Verbs of placement take the place after them: 住在北京.
  const bool placeAfter = p.verb == "住" || p.verb == "坐" || p.verb == "站" || p.verb == "躺" || p.verb == "放";
  for (const std::string& place : m_places) {
    if (!m_existential && !placeAfter) m_pieces.push_back(place);
  }
  if (m_existential) {
    m_pieces.push_back(p.verb == "没有" || p.negated ? "没有" : "有");  // there is no milk: 没有牛奶
    for (const ChinesePiece& object : p.objects) m_pieces.push_back(object);
    return;
  }
  if (noVerb && p.be) {
    // "be" + adjective: 很 + adjective; "too" + adjective: 太 … 了;
    // "be" + noun: 是; "be" + place: 在.
    if (!p.complement.empty()) {
      const bool bare = p.negated || !m_subject || p.complement.starts_with("更");  // 很 only before a plain adjective
      if (p.degree == "太") {
        m_pieces.push_back("太" + p.complement + "了");
        if (!p.extraVerbs.empty()) m_pieces.push_back("，无法");  // too heavy to carry: 太重了，无法搬
      } else {
        m_pieces.push_back((p.degree.empty() ? (bare ? "" : "很") : p.degree) + p.complement);
      }
      for (const std::string& extra : p.extraVerbs) m_pieces.push_back(extra);
      for (const ChinesePiece& object : m_extraObjects) m_pieces.push_back(object);
    } else if (!p.objects.empty() && !p.objectIsPlace) {
      m_pieces.push_back("是");
      for (const ChinesePiece& object : p.objects) m_pieces.push_back(object);
    } else if (!p.objects.empty()) {
      for (const ChinesePiece& object : p.objects) m_pieces.push_back("在" + object.text);
    } else if (!whAfter.empty()) {
      m_pieces.push_back(whWord == "where" ? "在" + wh : whWord == "how" ? whAfter : "是" + whAfter);
      whAfter.clear();
    }
    m_pieces.push_back(whAfter);
    return;
  }
  m_pieces.push_back(p.degree);
  // was delayed (by two hours): 耽误了(两小时), 了 after the verb when something follows it.
  const bool marksPast = (p.past && !p.negated && !p.passive && !p.verb.empty()) ||
                         (p.passive && !p.perfect && !p.negated && p.be && p.modal.empty());  // will be closed: 会关
  m_pieces.push_back(p.verb + (marksPast && !p.objects.empty() ? "了" : ""));
  if (placeAfter) {
    for (const std::string& place : m_places) m_pieces.push_back(place);
  }
  for (const ChinesePiece& object : p.objects) m_pieces.push_back(object);
  for (const std::string& extra : p.extraVerbs) m_pieces.push_back(extra);
  for (const ChinesePiece& object : m_extraObjects) m_pieces.push_back(object);
  m_pieces.push_back(whAfter);
  if (marksPast && p.objects.empty()) m_pieces.push_back("了");
}

}  // namespace parlavo::server::english_rules
