// Noun phrases, English → Chinese:
// [possessive | determiner | article | number] [container of] adjective* noun+ [of noun],
// and prepositional phrases (places before the verb, times, goals of motion).

#include "dictionary/english_rules.h"

namespace parlavo::server::english_rules {

// 限定词 + 数 + (量词 of) + 形容词 + 名词 (+ of 名词) → determiner + number + measure + adjective + noun.
std::optional<NounPhrase> ClauseBuilder::ParseNounPhrase() {
  const std::size_t start = m_at;
  NounPhrase phrase;
  // next Friday → 下周五; this Friday → 这周五.
  if ((IsWord("next") || IsWord("last") || IsWord("this")) && m_at + 1 < m_items.size()) {
    if (const ClosedClassWord* day = EnglishClosedWord(m_items[m_at + 1].lookup, WordClass::Weekday)) {
      Fired("next + weekday: 下周五");
      phrase.chinese = (IsWord("next") ? "下" : IsWord("last") ? "上" : "这") + std::string(day->chinese);
      phrase.time = true;
      m_at += 2;
      return phrase;
    }
  }
  // this morning → 今天早上; this evening → 今晚.
  if (IsWord("this") && NextKind() == Kind::Time) {
    Fired("this + part of the day: 今天…");
    const Item& part = m_items[m_at + 1];
    phrase.chinese = part.lookup == "evening" ? "今晚" : "今天" + part.chinese;
    phrase.time = true;
    m_at += 2;
    return phrase;
  }
  if (Is(Kind::Pronoun)) {
    phrase.chinese = Current().chinese;
    phrase.pronoun = true;
    phrase.it = Current().lookup == "it";
    ++m_at;
    return phrase;
  }
  if (Is(Kind::Time) && !(m_at + 1 < m_items.size() && m_items[m_at + 1].kind == Kind::Noun)) {
    phrase.chinese = Current().chinese;
    phrase.time = true;
    ++m_at;
    return phrase;
  }
  if (Is(Kind::Article) && m_at + 1 < m_items.size() && m_items[m_at + 1].kind == Kind::Time) ++m_at;
  if (Is(Kind::Time) && !(m_at + 1 < m_items.size() && m_items[m_at + 1].kind == Kind::Noun)) {
    phrase.chinese = Current().chinese;
    phrase.time = true;
    ++m_at;
    return phrase;
  }
  std::string determiner;
  bool ordinal = false;
  bool counted = false;
  long number = -1;
  std::string container;
  if (Is(Kind::Possessive)) {
    determiner = Current().chinese;
    ++m_at;
  } else if (Is(Kind::Determiner)) {
    determiner = Current().chinese;
    counted = determiner == "这" || determiner == "那" || determiner == "几";
    ordinal = Current().lookup != determiner && determiner.starts_with("第");
    ++m_at;
  } else if (Is(Kind::Article)) {
    if (!Current().chinese.empty()) {
      number = 1;
      counted = true;
    }
    ++m_at;
    if (Is(Kind::Determiner) && Current().chinese.starts_with("第") && Current().lookup != Current().chinese) {
      determiner = Current().chinese;  // the second book: 第二本书
      ordinal = true;
      number = -1;
      counted = false;
      ++m_at;
    }
  }
  bool anyNumber = false;
  while (Is(Kind::Number)) {
    const Item& item = Current();
    if (item.number >= 100 && !item.latin && !anyNumber) determiner += "一";  // "a thousand": 一千
    const bool last = !(m_at + 1 < m_items.size() && m_items[m_at + 1].kind == Kind::Number);
    determiner += item.number == 2 && !item.latin && last && !anyNumber ? "两" : item.chinese;
    anyNumber = counted = true;
    ++m_at;
  }
  if (anyNumber && IsWord("percent")) {
    Fired("number + percent: 百分之");  // five percent: 百分之五
    ++m_at;
    phrase.chinese = "百分之" + determiner;
    return phrase;
  }
  if (anyNumber && IsWord("o'clock")) {
    Fired("number + o'clock: clock time");  // eleven o'clock: 十一点
    ++m_at;
    phrase.chinese = determiner + "点";
    phrase.time = true;
    return phrase;
  }
  if (!anyNumber && number == 1 && !m_noIndefinite) determiner += "一";
  if (!anyNumber && number == 1 && m_noIndefinite) counted = false;
  // "a cup of coffee"
  if (counted && m_at + 1 < m_items.size() && m_items[m_at + 1].lookup == "of") {
    std::string word = m_items[m_at].lookup;
    const auto found = [&word] { return EnglishClosedWord(word, WordClass::Container); };
    if (!found() && word.ends_with("es")) word.resize(word.size() - 2);  // "boxes"
    if (!found() && word.ends_with('s')) word.pop_back();                // "cups"
    if (const ClosedClassWord* row = found()) {
      Fired("a cup of: measure word");
      container = row->chinese;
      m_at += 2;
      if (Is(Kind::Article)) ++m_at;
    }
  }
  std::string modifiers;
  std::string nouns;
  std::string measure;
  bool unit = false;  // 三天, 五十美元: a unit takes no measure word
  while (m_at < m_items.size()) {
    const Item& item = Current();
    if (item.kind == Kind::Degree && m_at + 1 < m_items.size() && m_items[m_at + 1].kind == Kind::Adjective &&
        m_at + 2 < m_items.size() && m_items[m_at + 2].kind == Kind::Noun) {
      modifiers += item.chinese;
    } else if (item.kind == Kind::Adjective && m_at + 1 < m_items.size() &&
               (m_items[m_at + 1].kind == Kind::Noun || m_items[m_at + 1].kind == Kind::Adjective)) {
      modifiers += item.chinese;
      if (item.chinese.size() > 3) modifiers += "的";
    } else if (item.kind == Kind::Noun && !nouns.empty() && (item.latin || phrase.latin)) {
      break;  // "Python Rust": kept words stay apart
    } else if (item.kind == Kind::Noun ||
               // After a determiner, the last word is a noun whatever else it can be ("the exit").
               ((item.kind == Kind::Verb || item.kind == Kind::Adjective) && nouns.empty() &&
                (!determiner.empty() || m_at > start) && item.inflection == Inflection::None &&
                !(m_at + 1 < m_items.size() && m_items[m_at + 1].kind == Kind::Noun))) {
      nouns += item.chinese;
      measure = item.unit ? "" : item.measure;
      unit = item.unit;
      phrase.latin = item.latin && nouns == item.chinese;
      phrase.place = item.latin || item.placeName;
    } else {
      break;
    }
    ++m_at;
  }
  if (nouns.empty() && modifiers.empty()) {
    if (!determiner.empty() && determiner != "一") {
      // "this" alone: 这个; "that" alone: 那.
      phrase.chinese = determiner == "这" ? "这个" : determiner;
      phrase.question = false;
      return phrase;
    }
    m_at = start;
    return std::nullopt;
  }
  if ((ordinal || anyNumber) && nouns == "时候") nouns = "次";  // the third time: 第三次; three times: 三次
  // a day, for a week: 一天, 一周, counted like three days.
  if (unit && number == 1 && !anyNumber && determiner.empty()) determiner = "一";
  anyNumber = anyNumber || number == 1;
  if (unit && (anyNumber || ordinal)) Fired("number + unit: no measure word");
  phrase.unit = unit && anyNumber;
  if ((counted || ordinal) && container.empty() && !(unit && (anyNumber || ordinal)) && nouns != "次") {
    container = measure.empty() ? "个" : measure;
  }
  if (anyNumber && nouns.ends_with("们")) nouns.resize(nouns.size() - std::string_view("们").size());
  phrase.chinese = determiner + container + modifiers + nouns;
  if (phrase.latin && (!determiner.empty() || !modifiers.empty())) phrase.latin = false;
  // the book that I bought → 我买的书; the man who called → 打电话的人.
  if (!m_inOwner && (IsWord("that") || IsWord("which") || IsWord("who")) && m_at + 2 < m_items.size()) {
    const Item& first = m_items[m_at + 1];
    const Item& second = m_items[m_at + 2];
    std::string relative;
    if ((first.kind == Kind::Pronoun || first.kind == Kind::Noun) && second.kind == Kind::Verb) {
      relative = first.chinese + second.chinese;
      m_at += 3;
    } else if (first.kind == Kind::Verb && IsWord("who")) {
      relative = first.chinese;
      m_at += 2;
    }
    if (!relative.empty()) {
      Fired("noun + that + clause: clause 的 noun");
      phrase.chinese = relative + "的" + phrase.chinese;
      phrase.latin = false;
    }
  }
  // "N1 of N2": N2 的 N1. One level only, so that no text nests deeply.
  if (!m_inOwner && IsWord("of") && m_at + 1 < m_items.size()) {
    ++m_at;
    m_inOwner = true;
    if (auto owner = ParseNounPhrase()) phrase.chinese = owner->chinese + "的" + phrase.chinese;
    m_inOwner = false;
  }
  return phrase;
}

// A prepositional phrase: a place before the verb (在公园里), a time
// ("at nine", "on Sunday"), or the goal of a motion ("to school": 学校).
void ClauseBuilder::Preposition(Predicate& p, bool complementSlot) {
  const Item preposition = Current();
  ++m_at;
  m_noIndefinite = true;
  const bool counted = m_at + 1 < m_items.size() && (m_items[m_at + 1].kind == Kind::Noun || m_items[m_at + 1].unit);
  if (Is(Kind::Number) && !counted) {
    p.times.push_back(Current().chinese + "点");  // "at nine"
    ++m_at;
    if (IsWord("o'clock")) ++m_at;
    m_noIndefinite = false;
    return;
  }
  if (Is(Kind::Verb) && preposition.lookup == "to") {
    m_noIndefinite = false;
    return;  // "want to go": the infinitive follows
  }
  if (TimeClause(p, preposition)) return;
  auto noun = ParseNounPhrase();
  m_noIndefinite = false;
  if (!noun) return;
  if (noun->time) {
    p.times.push_back(noun->chinese + (preposition.lookup == "by" ? "之前" : ""));  // by Friday: 星期五之前
    return;
  }
  const std::string& word = preposition.lookup;
  if (word == "than") {
    m_places.push_back("比" + noun->chinese);  // taller than me: 比我更高
    return;
  }
  if ((word == "for" && noun->unit) || (word == "by" && (noun->unit || noun->chinese.starts_with("百分之")))) {
    // for three years: 三年, after the verb; delayed by two hours: 延误了两小时.
    p.objects.push_back({noun->chinese, noun->latin});
    return;
  }
  if (word == "for" && p.be && !p.complement.empty()) {
    m_places.push_back("对" + noun->chinese + "来说");  // too big for me: 对我来说太大了
    return;
  }
  if (word == "by" && p.passive) {
    m_places.push_back("被" + noun->chinese);  // was taken by him: 被他拿走了
    return;
  }
  if (word == "by") {
    // by bus: 坐公车, by a vehicle; by email: 通过邮件, any other means.
    const bool vehicle = noun->chinese.ends_with("车") || noun->chinese.ends_with("机") ||
                         noun->chinese.ends_with("船") || noun->chinese.ends_with("铁");
    m_places.push_back((vehicle ? "坐" : "通过") + noun->chinese);
    return;
  }
  if (word == "to" || word == "into") {
    p.objects.push_back({noun->chinese, noun->latin});
    return;
  }
  if (word == "in" || word == "at" || word == "on" || word == "under") {
    // "on the left": 在左边.
    if (noun->chinese == "左" || noun->chinese == "右" || noun->chinese == "前" || noun->chinese == "后") {
      noun->chinese += "边";
    }
    const bool placeName = noun->latin || noun->place || noun->chinese.ends_with("边") ||
                           noun->chinese.ends_with("面") || noun->chinese == "家";
    std::string place = "在" + noun->chinese + (placeName || word == "at" ? "" : preposition.chinese);
    if (complementSlot) {
      p.objects.push_back(place.substr(std::string_view("在").size()));
      p.objectIsPlace = true;
      return;
    }
    m_places.push_back(std::move(place));
    return;
  }
  m_places.push_back(preposition.chinese + noun->chinese);
}

// before/after/during + noun or verb-ing → noun/verb + 以前/以后/期间, a time before the verb.
bool ClauseBuilder::TimeClause(Predicate& p, const Item& preposition) {
  const std::string& word = preposition.lookup;
  if (word != "before" && word != "after" && word != "during") return false;
  m_noIndefinite = false;
  Fired("before/after/during: a time before the verb");
  if (Is(Kind::Verb)) {
    p.times.push_back(Current().chinese + preposition.chinese);  // before eating: 吃以前
    ++m_at;
    return true;
  }
  if (auto noun = ParseNounPhrase()) p.times.push_back(noun->chinese + preposition.chinese);
  return true;
}

// noun + in/on/at/under/from/with + noun + verb group → place + 的 + noun:
// the book on the table is … → 桌子上的书….
void ClauseBuilder::SubjectModifier() {
  const std::string& word = m_at < m_items.size() ? m_items[m_at].lookup : std::string();
  if (!m_subject || m_subject->pronoun || m_subject->time ||
      (word != "in" && word != "on" && word != "at" && word != "under" && word != "from" && word != "with")) {
    return;
  }
  const std::size_t start = m_at, places = m_places.size();
  Predicate scratch;
  Preposition(scratch, false);
  const bool verbFollows = Is(Kind::Be) || Is(Kind::Verb) || Is(Kind::Modal) || Is(Kind::Do) || Is(Kind::Have) ||
                           Is(Kind::Not) || Is(Kind::Adverb);
  if (!verbFollows || m_places.size() != places + 1 || !scratch.objects.empty() || !scratch.times.empty()) {
    m_at = start;
    m_places.resize(places);
    return;
  }
  Fired("noun + preposition phrase: …的 + noun");
  std::string place = m_places.back();
  m_places.pop_back();
  if (place.starts_with("在")) place.erase(0, std::string_view("在").size());
  m_subject->chinese = place + "的" + m_subject->chinese;
}

}  // namespace parlavo::server::english_rules
