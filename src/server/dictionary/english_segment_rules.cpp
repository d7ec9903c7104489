// The segment stage, English → Chinese: contractions expanded, multi-word
// units matched longest first (in inflected forms: "interest rates",
// "signed in"), then each word classified by the first rule of kWordRules
// that takes it.

#include <algorithm>

#include "dictionary/english_rules.h"

namespace parlavo::server::english_rules {

namespace {

// Contractions as the words they stand for.
std::vector<std::string> Expand(const std::string& word) {
  if (word == "can't" || word == "cannot") return {"can", "not"};
  if (word == "won't") return {"will", "not"};
  if (word.ends_with("n't")) return {word.substr(0, word.size() - 3), "not"};
  if (word == "i'm") return {"i", "am"};
  if (word == "let's") return {word};
  for (const auto& [suffix, full] :
       {std::pair{"'re", "are"}, {"'s", "is"}, {"'ll", "will"}, {"'ve", "have"}, {"'d", "would"}}) {
    if (word.ends_with(suffix) && word.size() > std::string_view(suffix).size()) {
      const std::string stem = word.substr(0, word.size() - std::string_view(suffix).size());
      for (std::string_view pronoun :
           {"it", "he", "she", "that", "what", "where", "who", "there", "you", "we", "they", "i", "how", "here"}) {
        if (stem == pronoun) return {stem, full};
      }
    }
  }
  return {word};
}

// The kind of a closed-class word in an English clause; Other for the classes
// the rules read as nouns (containers, units, money).
Kind KindOf(WordClass wordClass) {
  switch (wordClass) {
    case WordClass::Pronoun:
      return Kind::Pronoun;
    case WordClass::Possessive:
      return Kind::Possessive;
    case WordClass::Article:
      return Kind::Article;
    case WordClass::Determiner:
    case WordClass::Ordinal:
      return Kind::Determiner;
    case WordClass::QuestionWord:
      return Kind::Wh;
    case WordClass::Modal:
      return Kind::Modal;
    case WordClass::Negator:
      return Kind::Not;
    case WordClass::Be:
      return Kind::Be;
    case WordClass::Do:
      return Kind::Do;
    case WordClass::Have:
      return Kind::Have;
    case WordClass::Preposition:
      return Kind::Preposition;
    case WordClass::Degree:
      return Kind::Degree;
    case WordClass::Please:
      return Kind::Please;
    case WordClass::There:
      return Kind::There;
    case WordClass::Adverb:
      return Kind::Adverb;
    case WordClass::Conjunction:
      return Kind::Conjunction;
    case WordClass::Let:
      return Kind::Let;
    case WordClass::TimeWord:
    case WordClass::Weekday:
    case WordClass::Month:
      return Kind::Time;
    case WordClass::Number:
      return Kind::Number;
    default:
      return Kind::Other;
  }
}

bool IsGrammarClass(WordClass wordClass) { return KindOf(wordClass) != Kind::Other; }

// Words that end no dictionary phrase, and but for pronouns begin none: "good
// morning" and "see you tomorrow" are phrases, "the station" is not.
bool IsPhraseBreaking(WordClass wordClass) {
  return IsGrammarClass(wordClass) && wordClass != WordClass::Pronoun && wordClass != WordClass::TimeWord &&
         wordClass != WordClass::Weekday && wordClass != WordClass::Month && wordClass != WordClass::Number &&
         wordClass != WordClass::Ordinal;
}

const ClosedClassWord* GrammarWord(std::string_view word) { return EnglishClosedWord(word, IsGrammarClass); }

Kind KindOfTag(std::string_view tag) {
  if (tag.starts_with('v')) return Kind::Verb;
  if (tag.starts_with('a') || tag == "b" || tag == "z") return Kind::Adjective;
  if (tag == "t") return Kind::Time;
  if (tag == "d") return Kind::Adverb;
  return Kind::Noun;
}

// A unit of time or money, by any of its forms ("minutes", "dollars").
const ClosedClassWord* Unit(std::string_view lookup) {
  for (const WordForm& form : LookupForms(lookup)) {
    if (const auto* row = EnglishClosedWord(form.lemma, WordClass::TimeUnit)) return row;
    if (const auto* row = EnglishClosedWord(form.lemma, WordClass::Currency)) return row;
  }
  return nullptr;
}

struct Segmenter {
  const Lexicon& lexicon;
  std::vector<std::string> words;
  std::vector<std::string> written;
  std::vector<Item> items;
  std::size_t at = 0;
  bool sawVerb = false;

  std::string Next(std::size_t offset = 1) const {
    return at + offset < words.size() ? words[at + offset] : std::string();
  }

  // a little / a few / a lot (of), lots of, plenty of → 一点 / 几 / 很多;
  // hundreds/thousands/millions of → 数百 / 数千 / 数百万.
  std::size_t Quantity(Item& item) {
    const std::string next = Next();
    if (next == "of") {
      for (const auto& [word, chinese] : {std::pair{"lots", "很多"}, {"plenty", "很多"}, {"hundreds", "数百"},
                                          {"thousands", "数千"}, {"millions", "数百万"}}) {
        if (words[at] != word) continue;
        item.kind = Kind::Determiner;
        item.chinese = chinese;
        return 2;
      }
    }
    if (words[at] != "a" || (next != "little" && next != "bit" && next != "few" && next != "lot")) return 0;
    item.kind = Kind::Determiner;
    item.chinese = next == "few" ? "几" : next == "lot" ? "很多" : "一点";
    return next == "lot" && Next(2) == "of" ? 3 : 2;
  }

  // would like → 想要; would like to + verb → 想 + verb.
  std::size_t WouldLike(Item& item) {
    if (words[at] != "would" || Next() != "like") return 0;
    item.kind = Kind::Verb;
    item.chinese = Next(2) == "to" ? "想" : "想要";
    return 2;
  }

  // A dictionary phrase, longest first: "train station", "interest rates", "signed in".
  std::size_t MultiWord(Item& item) {
    const ClosedClassWord* first = GrammarWord(words[at]);
    // "on time", "of course", "at least": a phrase begun by a preposition is an adverb.
    const bool adverbial = first && first->wordClass == WordClass::Preposition;
    // "this year", "that day": a phrase begun by this/that only as a time (今年, 那天);
    // this + a time word is the noun rules' (this evening: 今晚).
    const bool timeOnly = first && first->wordClass == WordClass::Determiner &&
                          (first->chinese == "这" || first->chinese == "那") && !GrammarWord(Next());
    if (first && (first->wordClass == WordClass::Pronoun ||
                  (IsPhraseBreaking(first->wordClass) && !adverbial && !timeOnly))) {
      return 0;
    }
    for (std::size_t count = std::min(lexicon.longestKey(), words.size() - at); count >= 2; --count) {
      const std::string& lastWord = words[at + count - 1];
      // "signed in", "checked in at the hotel", but not "come on Monday".
      const ClosedClassWord* after = at + count < words.size() ? GrammarWord(words[at + count]) : nullptr;
      const bool particle = (lastWord == "in" || lastWord == "on") &&
                            (at + count == words.size() || (after && (after->wordClass == WordClass::Preposition ||
                                                                      after->wordClass == WordClass::Conjunction ||
                                                                      after->wordClass == WordClass::Adverb)));
      if (EnglishClosedWord(lastWord, IsPhraseBreaking) && !particle) continue;
      const auto phrase = lexicon.Phrase(words, at, count);
      // "sign in", "check in": a verb with its particle, not a noun before a preposition.
      if (!phrase || (particle && !phrase->first.tag.starts_with('v'))) continue;
      const std::string_view tag = phrase->first.tag;
      if ((adverbial && (tag.starts_with('n') || tag.starts_with('v'))) || (timeOnly && tag != "t")) continue;
      item.kind = adverbial ? Kind::Adverb : KindOfTag(tag);
      item.chinese = phrase->first.value;
      item.measure = phrase->first.measure;
      item.inflection = phrase->second;
      return count;
    }
    return 0;
  }

  // Grammar words from the closed-class table.
  bool Grammar(Item& item) {
    const ClosedClassWord* row = GrammarWord(words[at]);
    if (!row) return false;
    item.kind = KindOf(row->wordClass);
    if (row->wordClass == WordClass::Negator && row->english == "no") item.kind = Kind::No;
    item.chinese = row->chinese;
    item.past = row->flags & kPast;
    item.number = row->wordClass == WordClass::Number ? row->value : -1;
    return true;
  }

  // 30 → kept as written.
  bool Digits(Item& item) {
    const std::string& word = words[at];
    if (word.empty() || !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return false;
    }
    item.kind = Kind::Number;
    item.chinese = item.text;
    item.latin = true;
    item.number = word.size() < 9 ? std::stol(word) : 0;
    return true;
  }

  // The word `offset` ahead begins a verb group: be/modal/do/have or a past
  // form not before an open-class word ("prices fell", "download failed", but
  // "check attached files"), so the words before are its subject.
  bool VerbFollows(std::size_t offset) const {
    const std::string word = Next(offset);
    if (word.empty()) return false;
    if (const ClosedClassWord* row = GrammarWord(word)) {
      return row->wordClass == WordClass::Be || row->wordClass == WordClass::Modal ||
             row->wordClass == WordClass::Do || row->wordClass == WordClass::Have;
    }
    const std::string after = Next(offset + 1);
    if (!after.empty() && !GrammarWord(after)) return false;
    const auto forms = LookupForms(word);
    return std::any_of(forms.begin(), forms.end(),
                       [](const WordForm& form) { return form.inflection == Inflection::Past; });
  }

  // Open-class words through the dictionary, read as a verb or a noun by the
  // words before, and as a noun before a verb group (noun + noun subject: "oil prices fell").
  bool Dictionary(Item& item) {
    const std::string& word = words[at];
    const Kind before = items.empty() ? Kind::Other : items.back().kind;
    // after work, before sleep: a bare word after before/after is the activity (工作以后, 睡以前).
    const bool activity =
        before == Kind::Preposition && (items.back().lookup == "before" || items.back().lookup == "after");
    const bool subject = !sawVerb && (VerbFollows(1) || (Next().ends_with('s') && VerbFollows(2)));
    const bool afterNounCue = before == Kind::Article || before == Kind::Determiner || before == Kind::Possessive ||
                              before == Kind::Number || before == Kind::Adjective || subject ||
                              (before == Kind::Preposition && items.back().lookup != "to" && !activity);
    const auto forms = LookupForms(word);
    const bool participle = word.ends_with("ing") || word.ends_with("ed") || word.ends_with("en") ||
                            std::any_of(forms.begin(), forms.end(), [](const WordForm& form) {
                              return form.inflection == Inflection::Participle || form.inflection == Inflection::Past;
                            });
    const bool afterVerbCue = before == Kind::Modal || before == Kind::Do || before == Kind::Not ||
                              before == Kind::Please || before == Kind::Let || before == Kind::Pronoun ||
                              (before == Kind::Preposition && items.back().lookup == "to") || activity ||
                              ((before == Kind::Be || before == Kind::Have) && participle) ||
                              (before == Kind::Noun && !sawVerb && !subject) ||  // the verb after the subject
                              (before == Kind::No && word.ends_with("ing"));  // no smoking: 禁止吸烟
    const bool imperative = at == 0 && !word.ends_with('s') && !subject;
    const auto entry = lexicon.Lookup(word, afterVerbCue || imperative   ? Reading::Verb
                                            : afterNounCue || at == 0 ? Reading::Noun
                                                                      : Reading::Any);
    if (!entry) return false;
    item.kind = KindOfTag(entry->first.tag);
    // the latest version: an adverb between a determiner and its noun modifies the noun (最新版本).
    if (item.kind == Kind::Adverb && (before == Kind::Article || before == Kind::Determiner ||
                                      before == Kind::Possessive)) {
      item.kind = Kind::Adjective;
    }
    item.chinese = entry->first.value;
    item.measure = entry->first.measure;
    item.placeName = entry->first.tag == "ns";
    item.inflection = entry->second;
    // "colder": 更冷.
    if (entry->second == Inflection::Comparative) {
      if (item.kind == Kind::Adjective)
        item.chinese = "更" + item.chinese;
      else
        item = {Kind::Noun, word, written[at], written[at], {}, Inflection::None, false, true};
    }
    return true;
  }

  // Not in the dictionary: a name, kept as written.
  bool Unknown(Item& item) {
    item.kind = Kind::Noun;
    item.chinese = item.text;
    item.latin = true;
    return true;
  }
};

using UnitRule = std::size_t (Segmenter::*)(Item&);
using WordRule = bool (Segmenter::*)(Item&);

constexpr NamedRule<UnitRule> kUnitRules[] = {
    {"a little/a few/a lot: quantity", &Segmenter::Quantity},
    {"would like: want", &Segmenter::WouldLike},
    {"multi-word entry, longest first", &Segmenter::MultiWord},
};

constexpr NamedRule<WordRule> kWordRules[] = {
    {"grammar word", &Segmenter::Grammar},
    {"digits: number", &Segmenter::Digits},
    {"dictionary word", &Segmenter::Dictionary},
    {"unknown word kept", &Segmenter::Unknown},
};

}  // namespace

std::vector<Item> Classify(const Lexicon& lexicon, const std::vector<ClauseToken>& tokens, RuleTrace* trace) {
  Segmenter segmenter{lexicon, {}, {}, {}};
  for (const ClauseToken& token : tokens) {
    for (std::string& word : Expand(token.lookup)) {
      segmenter.words.push_back(std::move(word));
      segmenter.written.push_back(token.text);
    }
  }
  auto& at = segmenter.at;
  while (at < segmenter.words.size()) {
    Item item;
    item.lookup = segmenter.words[at];
    item.text = segmenter.written[at];
    std::size_t taken = 0;
    for (const auto& rule : kUnitRules) {
      if ((taken = (segmenter.*rule.apply)(item)) > 0) {
        Fire(trace, rule.name);
        break;
      }
    }
    if (taken == 0) {
      taken = 1;
      for (const auto& rule : kWordRules) {
        if ((segmenter.*rule.apply)(item)) {
          if (rule.apply != &Segmenter::Dictionary && rule.apply != &Segmenter::Grammar) Fire(trace, rule.name);
          break;
        }
      }
    }
    // a day: 一天, like three days.
    const bool counted = !segmenter.items.empty() && (segmenter.items.back().kind == Kind::Number ||
                                                      segmenter.items.back().chinese.starts_with("第") ||
                                                      (segmenter.items.back().kind == Kind::Article &&
                                                       !segmenter.items.back().chinese.empty()));
    if (const ClosedClassWord* unit = taken == 1 && counted ? Unit(item.lookup) : nullptr;
        unit && (item.kind == Kind::Noun || item.kind == Kind::Verb || item.kind == Kind::Time)) {
      item.kind = Kind::Noun;  // thirty minutes: 三十分钟, fifty dollars: 五十美元
      item.chinese = unit->chinese;
      item.unit = true;
    }
    segmenter.sawVerb = segmenter.sawVerb || item.kind == Kind::Verb || item.kind == Kind::Be ||
                        item.kind == Kind::Do || item.kind == Kind::Have || item.kind == Kind::Modal;
    segmenter.items.push_back(std::move(item));
    at += taken;
  }
  return std::move(segmenter.items);
}

}  // namespace parlavo::server::english_rules
