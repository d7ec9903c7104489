#include "dictionary/english_clause.h"

#include <algorithm>
#include <optional>

#include "dictionary/english_morphology.h"

namespace parlavo::server {

namespace {

// ---------------------------------------------------------------------------
// Closed classes: English grammar words and what Chinese makes of them.

enum class Kind {
  Noun, Pronoun, Possessive, Article, Determiner, Number, Adjective, Verb, Be, Do, Have, Modal, Not, No, Wh,
  Preposition, Degree, Time, Please, There, Adverb, Conjunction, Let, Other,
};

struct GrammarWord {
  std::string_view english;
  Kind kind;
  std::string_view chinese;
  bool past = false;
};

constexpr GrammarWord kGrammarWords[] = {
    {"a", Kind::Article, "一"}, {"an", Kind::Article, "一"}, {"the", Kind::Article, ""},
    {"i", Kind::Pronoun, "我"}, {"me", Kind::Pronoun, "我"}, {"you", Kind::Pronoun, "你"},
    {"he", Kind::Pronoun, "他"}, {"him", Kind::Pronoun, "他"}, {"she", Kind::Pronoun, "她"},
    {"it", Kind::Pronoun, "它"}, {"we", Kind::Pronoun, "我们"}, {"us", Kind::Pronoun, "我们"},
    {"they", Kind::Pronoun, "他们"}, {"them", Kind::Pronoun, "他们"}, {"everyone", Kind::Pronoun, "大家"},
    {"my", Kind::Possessive, "我的"}, {"your", Kind::Possessive, "你的"}, {"his", Kind::Possessive, "他的"},
    {"her", Kind::Possessive, "她的"}, {"its", Kind::Possessive, "它的"}, {"our", Kind::Possessive, "我们的"},
    {"their", Kind::Possessive, "他们的"},
    {"am", Kind::Be, ""}, {"is", Kind::Be, ""}, {"are", Kind::Be, ""}, {"be", Kind::Be, ""},
    {"was", Kind::Be, "", true}, {"were", Kind::Be, "", true}, {"been", Kind::Be, ""}, {"being", Kind::Be, ""},
    {"do", Kind::Do, "做"}, {"does", Kind::Do, "做"}, {"did", Kind::Do, "做", true},
    {"have", Kind::Have, "有"}, {"has", Kind::Have, "有"}, {"had", Kind::Have, "有", true},
    {"can", Kind::Modal, "能"}, {"could", Kind::Modal, "能"}, {"will", Kind::Modal, "会"},
    {"would", Kind::Modal, "会"}, {"should", Kind::Modal, "应该"}, {"must", Kind::Modal, "必须"},
    {"may", Kind::Modal, "可以"}, {"shall", Kind::Modal, "会"},
    {"not", Kind::Not, "不"}, {"never", Kind::Not, "从不"}, {"no", Kind::No, "没有"},
    {"what", Kind::Wh, "什么"}, {"where", Kind::Wh, "哪里"}, {"who", Kind::Wh, "谁"},
    {"when", Kind::Wh, "什么时候"}, {"why", Kind::Wh, "为什么"}, {"how", Kind::Wh, "怎么"},
    {"which", Kind::Wh, "哪个"},
    {"this", Kind::Determiner, "这"}, {"that", Kind::Determiner, "那"}, {"these", Kind::Determiner, "这些"},
    {"those", Kind::Determiner, "那些"}, {"every", Kind::Determiner, "每"}, {"all", Kind::Determiner, "所有"},
    {"many", Kind::Determiner, "很多"}, {"some", Kind::Determiner, "一些"}, {"much", Kind::Determiner, "很多"},
    {"in", Kind::Preposition, "里"}, {"at", Kind::Preposition, ""}, {"on", Kind::Preposition, "上"},
    {"to", Kind::Preposition, ""}, {"from", Kind::Preposition, "从"}, {"with", Kind::Preposition, "跟"},
    {"for", Kind::Preposition, "为"}, {"of", Kind::Preposition, ""}, {"into", Kind::Preposition, "里"},
    {"very", Kind::Degree, "很"}, {"too", Kind::Degree, "太"}, {"really", Kind::Degree, "真"},
    {"quite", Kind::Degree, "挺"}, {"more", Kind::Degree, "更"}, {"most", Kind::Degree, "最"},
    {"please", Kind::Please, "请"}, {"there", Kind::There, "那里"},
    {"also", Kind::Adverb, "也"}, {"always", Kind::Adverb, "总是"}, {"often", Kind::Adverb, "经常"},
    {"already", Kind::Adverb, "已经"}, {"still", Kind::Adverb, "还"}, {"again", Kind::Adverb, "再"},
    {"and", Kind::Conjunction, "和"}, {"but", Kind::Conjunction, "但是"}, {"or", Kind::Conjunction, "或者"},
    {"because", Kind::Conjunction, "因为"}, {"if", Kind::Conjunction, "如果"},
    {"let's", Kind::Let, "我们"},
};

// Time words that need no dictionary: the dictionary ranks other senses first.
struct TimeWord {
  std::string_view english, chinese;
};
constexpr TimeWord kTimeWords[] = {
    {"today", "今天"}, {"tomorrow", "明天"}, {"yesterday", "昨天"}, {"now", "现在"}, {"tonight", "今晚"},
    {"morning", "早上"}, {"evening", "晚上"}, {"afternoon", "下午"},
};

struct NumberWord {
  std::string_view english, chinese;
  long value;
};
constexpr NumberWord kNumbers[] = {
    {"one", "一", 1}, {"two", "二", 2}, {"three", "三", 3}, {"four", "四", 4}, {"five", "五", 5},
    {"six", "六", 6}, {"seven", "七", 7}, {"eight", "八", 8}, {"nine", "九", 9}, {"ten", "十", 10},
    {"eleven", "十一", 11}, {"twelve", "十二", 12}, {"twenty", "二十", 20}, {"hundred", "百", 100},
    {"thousand", "千", 1000},
};

// Containers become measure words: "a cup of coffee" -> "一杯咖啡".
struct Container {
  std::string_view english, chinese;
};
constexpr Container kContainers[] = {
    {"cup", "杯"}, {"glass", "杯"}, {"bottle", "瓶"}, {"bowl", "碗"}, {"box", "盒"}, {"bag", "袋"},
    {"piece", "块"}, {"slice", "片"}, {"pair", "双"}, {"pack", "包"}, {"plate", "盘"}, {"group", "群"},
};

struct TimeUnit {
  std::string_view english, chinese;
};
constexpr TimeUnit kTimeUnits[] = {
    {"day", "天"}, {"week", "周"}, {"month", "月"}, {"year", "年"}, {"night", "晚"}, {"weekend", "周末"},
    {"hour", "小时"}, {"minute", "分钟"},
};

// Contractions as the words they stand for.
std::vector<std::string> Expand(const std::string& word) {
  if (word == "can't" || word == "cannot") return {"can", "not"};
  if (word == "won't") return {"will", "not"};
  if (word.ends_with("n't")) return {word.substr(0, word.size() - 3), "not"};
  if (word == "i'm") return {"i", "am"};
  if (word == "let's") return {word};
  for (const auto& [suffix, full] : {std::pair{"'re", "are"}, {"'s", "is"}, {"'ll", "will"}, {"'ve", "have"},
                                     {"'d", "would"}}) {
    if (word.ends_with(suffix) && word.size() > std::string_view(suffix).size()) {
      const std::string stem = word.substr(0, word.size() - std::string_view(suffix).size());
      const bool pronoun = stem == "it" || stem == "he" || stem == "she" || stem == "that" || stem == "what" ||
                           stem == "where" || stem == "who" || stem == "there" || stem == "you" || stem == "we" ||
                           stem == "they" || stem == "i" || stem == "how" || stem == "here";
      if (pronoun) return {stem, full};
    }
  }
  return {word};
}

template <class Row, std::size_t N>
const Row* Find(const Row (&table)[N], std::string_view english) {
  for (const Row& row : table) {
    if (row.english == english) return &row;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Words looked up and classified.

enum class Reading { Any, Verb, Noun };

struct Item {
  Kind kind = Kind::Other;
  std::string lookup;
  std::string text;  // as written (kept words)
  std::string chinese;
  std::string measure;
  Inflection inflection = Inflection::None;
  bool past = false;
  bool latin = false;
  long number = -1;
};

class Lexicon {
 public:
  explicit Lexicon(const DictionaryIndex& index) : m_index(index) {}

  // The dictionary entry for a word by its forms, for the reading its place
  // in the clause asks for: a verb tries its lemmas' verb readings before the
  // word itself ("works" -> "work" 工作, not 作品; "found" -> "find"); a noun
  // its singular before the word itself ("friends" -> "friend" 朋友); any
  // other word is first itself.
  std::optional<std::pair<IndexWord, Inflection>> Lookup(std::string_view word, Reading reading) const {
    const std::vector<WordForm> forms = LookupForms(word);
    const auto find = [&](const WordForm& form, bool verbOnly) -> std::optional<std::pair<IndexWord, Inflection>> {
      if (verbOnly) {
        if (const auto entry = m_index.English(form.lemma + std::string(dictionary_format::kVerbMark))) {
          return std::pair{*entry, form.inflection};
        }
      }
      const auto entry = m_index.English(form.lemma);
      if (!entry || (verbOnly && !entry->tag.starts_with('v'))) return std::nullopt;
      return std::pair{*entry, form.inflection};
    };
    if (reading == Reading::Verb) {
      for (const WordForm& form : forms) {
        if (form.inflection == Inflection::None || form.inflection == Inflection::Comparative) continue;
        if (const auto found = find(form, true)) return found;
      }
      if (const auto found = find(forms.front(), true)) return found;
    }
    if (reading == Reading::Noun) {
      const auto noun = [&](const WordForm& form) -> std::optional<std::pair<IndexWord, Inflection>> {
        if (const auto entry = m_index.English(form.lemma + std::string(dictionary_format::kNounMark))) {
          return std::pair{*entry, form.inflection};
        }
        return std::nullopt;
      };
      for (const WordForm& form : forms) {
        if (form.inflection != Inflection::Plural) continue;
        const auto found = find(form, false);
        if (found && found->first.tag.starts_with('n')) return found;
        // The noun reading of a verb ("works" as work); not of an adjective ("news" is no "new").
        if (found && found->first.tag.starts_with('v')) {
          if (const auto reading = noun(form)) return reading;
        }
      }
      if (const auto found = find(forms.front(), false); found && !found->first.tag.starts_with('v')) return found;
      if (const auto found = noun(forms.front())) return found;
    }
    for (const WordForm& form : forms) {
      if (const auto found = find(form, false)) return found;
    }
    return std::nullopt;
  }

  // The Chinese of a phrase of `count` words starting at `words[at]`, the
  // first word through its lemma ("went home" -> "go home" -> 回家).
  std::optional<std::pair<IndexWord, Inflection>> Phrase(const std::vector<std::string>& words, std::size_t at,
                                                         std::size_t count) const {
    std::string rest;
    for (std::size_t w = at + 1; w < at + count; ++w) rest += ' ' + words[w];
    for (const WordForm& form : LookupForms(words[at])) {
      if (const auto entry = m_index.English(form.lemma + rest)) return std::pair{*entry, form.inflection};
    }
    return std::nullopt;
  }

  std::size_t longestKey() const { return m_index.longestEnglishKey(); }

 private:
  const DictionaryIndex& m_index;
};

Kind KindOfTag(std::string_view tag) {
  if (tag.starts_with('v')) return Kind::Verb;
  if (tag.starts_with('a') || tag == "b" || tag == "z") return Kind::Adjective;
  if (tag == "t") return Kind::Time;
  if (tag == "d") return Kind::Adverb;
  return Kind::Noun;
}

std::vector<Item> Classify(const Lexicon& lexicon, const std::vector<ClauseToken>& tokens) {
  std::vector<std::string> words;
  std::vector<std::string> written;
  for (const ClauseToken& token : tokens) {
    for (std::string& word : Expand(token.lookup)) {
      words.push_back(std::move(word));
      written.push_back(token.text);
    }
  }
  std::vector<Item> items;
  bool sawVerb = false;
  for (std::size_t i = 0; i < words.size();) {
    const std::string& word = words[i];
    Item item;
    item.lookup = word;
    item.text = written[i];
    // Phrases of open-class words first ("train station", "seat belt").
    std::size_t taken = 1;
    const std::string next = i + 1 < words.size() ? words[i + 1] : std::string();
    if (word == "a" && (next == "little" || next == "bit" || next == "few" || next == "lot")) {
      // Quantities: "a little" 一点, "a few" 几个, "a lot (of)" 很多.
      item.kind = Kind::Determiner;
      item.chinese = next == "few" ? "几" : next == "lot" ? "很多" : "一点";
      taken = next == "lot" && i + 2 < words.size() && words[i + 2] == "of" ? 3 : 2;
    } else if (word == "would" && next == "like") {
      item.kind = Kind::Verb;  // "would like": 想要
      item.chinese = "想要";
      taken = 2;
    } else if (!Find(kGrammarWords, word)) {
      for (std::size_t count = std::min(lexicon.longestKey(), words.size() - i); count >= 2; --count) {
        const GrammarWord* last = Find(kGrammarWords, words[i + count - 1]);
        if (last && last->kind != Kind::Pronoun) continue;
        if (const auto phrase = lexicon.Phrase(words, i, count)) {
          item.kind = KindOfTag(phrase->first.tag);
          item.chinese = phrase->first.value;
          item.measure = phrase->first.measure;
          item.inflection = phrase->second;
          taken = count;
          break;
        }
      }
    }
    if (taken == 1) {
      const Kind before = items.empty() ? Kind::Other : items.back().kind;
      const bool afterNounCue = before == Kind::Article || before == Kind::Determiner ||
                                before == Kind::Possessive || before == Kind::Number ||
                                before == Kind::Adjective || (before == Kind::Preposition && items.back().lookup != "to");
      const auto forms = LookupForms(word);
      const bool participle = word.ends_with("ing") || word.ends_with("ed") || word.ends_with("en") ||
                              std::any_of(forms.begin(), forms.end(), [](const WordForm& form) {
                                return form.inflection == Inflection::Participle || form.inflection == Inflection::Past;
                              });
      const bool afterVerbCue =
          !items.empty() && (items.back().kind == Kind::Modal || items.back().kind == Kind::Do ||
                             items.back().kind == Kind::Not || items.back().kind == Kind::Please ||
                             items.back().kind == Kind::Let || items.back().kind == Kind::Pronoun ||
                             (items.back().kind == Kind::Preposition && items.back().lookup == "to") ||
                             (items.back().kind == Kind::Be && participle) ||
                             (items.back().kind == Kind::Noun && !sawVerb));  // the verb after the subject
      if (const GrammarWord* grammar = Find(kGrammarWords, word)) {
        item.kind = grammar->kind;
        item.chinese = grammar->chinese;
        item.past = grammar->past;
      } else if (const TimeWord* time = Find(kTimeWords, word)) {
        item.kind = Kind::Time;
        item.chinese = time->chinese;
      } else if (const NumberWord* number = Find(kNumbers, word)) {
        item.kind = Kind::Number;
        item.chinese = number->chinese;
        item.number = number->value;
      } else if (!word.empty() && std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        item.kind = Kind::Number;
        item.chinese = item.text;
        item.latin = true;
        item.number = word.size() < 9 ? std::stol(word) : 0;
      } else if (const auto entry = lexicon.Lookup(
                     word, afterVerbCue || (i == 0 && !word.ends_with('s')) ? Reading::Verb
                           : afterNounCue || i == 0                         ? Reading::Noun
                                                                            : Reading::Any)) {
        item.kind = KindOfTag(entry->first.tag);
        item.chinese = entry->first.value;
        item.measure = entry->first.measure;
        item.inflection = entry->second;
        // "colder": 更冷.
        if (entry->second == Inflection::Comparative) {
          if (item.kind == Kind::Adjective) item.chinese = "更" + item.chinese;
          else item = {Kind::Noun, word, written[i], written[i], {}, Inflection::None, false, true};
        }
      } else {
        item.kind = Kind::Noun;
        item.chinese = item.text;
        item.latin = true;
      }
    }
    sawVerb = sawVerb || item.kind == Kind::Verb || item.kind == Kind::Be || item.kind == Kind::Do ||
              item.kind == Kind::Have || item.kind == Kind::Modal;
    items.push_back(std::move(item));
    i += taken;
  }
  return items;
}

// ---------------------------------------------------------------------------
// Phrases and their Chinese order.

struct NounPhrase {
  std::string chinese;
  bool pronoun = false;
  bool it = false;       // "it": Chinese leaves it out as a subject
  bool place = false;    // a place name or direction: takes no 里/上
  bool time = false;
  bool question = false;
  bool latin = false;
};

class ClauseBuilder {
 public:
  ClauseBuilder(std::vector<Item> items, bool question) : m_items(std::move(items)), m_question(question) {}

  std::vector<ChinesePiece> Run() {
    std::string prefix, suffix;
    if (Is(Kind::Please)) {
      prefix = "请";
      ++m_at;
    }
    if (Is(Kind::Let)) {
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
    if (m_subject && m_subject->time && (Is(Kind::Pronoun) || Is(Kind::Possessive) || Is(Kind::Noun))) {
      m_pieces.push_back(m_subject->chinese);  // "Tomorrow we ...": the time follows the subject
      m_subject = ParseNounPhrase();
    }
    if (Is(Kind::There) && m_at + 1 < m_items.size() && m_items[m_at + 1].kind == Kind::Be) {
      m_existential = true;  // "there is/are": 有
      m_at += 2;
    }
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
    const bool timeFirst = m_subject && !m_subject->pronoun && !m_subject->time;
    if (timeFirst) {
      for (std::size_t t = 0; t < leadingTimes; ++t) out.push_back(std::move(m_pieces[t]));
    }
    if (m_subject && !m_subject->it) Add(out, *m_subject);
    for (std::size_t p = timeFirst ? leadingTimes : 0; p < m_pieces.size(); ++p) out.push_back(std::move(m_pieces[p]));
    for (ChinesePiece& piece : m_after) out.push_back(std::move(piece));
    if (yesNo && m_question) out.push_back({"吗"});
    if (!suffix.empty()) out.push_back({suffix});
    return out;
  }

 private:
  bool Is(Kind kind) const { return m_at < m_items.size() && m_items[m_at].kind == kind; }
  bool IsWord(std::string_view word) const { return m_at < m_items.size() && m_items[m_at].lookup == word; }
  const Item& Current() const { return m_items[m_at]; }

  static std::string StripZai(const std::string& place) {
    return place.starts_with("在") ? place.substr(std::string_view("在").size()) : place;
  }

  static void Add(std::vector<ChinesePiece>& out, const NounPhrase& noun) { out.push_back({noun.chinese, noun.latin}); }

  // [possessive | determiner | article | number] [container of] adjective* noun+ ['s noun] [of noun]
  std::optional<NounPhrase> ParseNounPhrase() {
    const std::size_t start = m_at;
    NounPhrase phrase;
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
    bool counted = false;
    long number = -1;
    std::string container;
    if (Is(Kind::Possessive)) {
      determiner = Current().chinese;
      ++m_at;
    } else if (Is(Kind::Determiner)) {
      determiner = Current().chinese;
      counted = determiner == "这" || determiner == "那" || determiner == "几";
      ++m_at;
    } else if (Is(Kind::Article)) {
      if (!Current().chinese.empty()) {
        number = 1;
        counted = true;
      }
      ++m_at;
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
    if (!anyNumber && number == 1 && !m_noIndefinite) determiner += "一";
    if (!anyNumber && number == 1 && m_noIndefinite) counted = false;
    // "a cup of coffee"
    if (counted && m_at + 1 < m_items.size() && m_items[m_at + 1].lookup == "of") {
      std::string word = m_items[m_at].lookup;
      if (!Find(kContainers, word) && word.ends_with("es")) word.resize(word.size() - 2);  // "boxes"
      if (!Find(kContainers, word) && word.ends_with('s')) word.pop_back();              // "cups"
      if (const Container* found = Find(kContainers, word)) {
        container = found->chinese;
        m_at += 2;
        if (Is(Kind::Article)) ++m_at;
      }
    }
    std::string modifiers;
    std::string nouns;
    std::string measure;
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
        measure = item.measure;
        phrase.latin = item.latin && nouns == item.chinese;
        phrase.place = item.latin;
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
    if (counted && container.empty()) container = measure.empty() ? "个" : measure;
    if (anyNumber && nouns.ends_with("们")) nouns.resize(nouns.size() - std::string_view("们").size());
    phrase.chinese = determiner + container + modifiers + nouns;
    if (phrase.latin && (!determiner.empty() || !modifiers.empty())) phrase.latin = false;
    // "N1 of N2": N2 的 N1. One level only, so that no text nests deeply.
    if (!m_inOwner && IsWord("of") && m_at + 1 < m_items.size()) {
      ++m_at;
      m_inOwner = true;
      if (auto owner = ParseNounPhrase()) phrase.chinese = owner->chinese + "的" + phrase.chinese;
      m_inOwner = false;
    }
    return phrase;
  }

  // Verb group, objects, places and times, in Chinese order:
  // time, adverbs, negation, modal, place, verb (+了), objects.
  void ParsePredicate(const std::string& wh, const std::string& whWord) {
    bool negated = false, past = false, progressive = false, perfect = false, passive = false, be = false;
    bool haveVerb = false;
    std::string modal, adverbs, degree, verb, complement;
    std::vector<ChinesePiece> objects;
    std::vector<std::string> times;
    bool objectIsPlace = false;
    for (; m_at < m_items.size(); ++m_at) {
      const Item& item = Current();
      const Kind next = m_at + 1 < m_items.size() ? m_items[m_at + 1].kind : Kind::Other;
      if (item.kind == Kind::Not) {
        negated = true;
        if (item.chinese != "不") adverbs += item.chinese;
      } else if (item.kind == Kind::Modal) {
        modal = item.chinese;
      } else if (item.kind == Kind::Do && verb.empty() &&
                 (next == Kind::Verb || next == Kind::Not || next == Kind::Adverb || next == Kind::Have ||
                  next == Kind::Be || next == Kind::Do)) {
        past = past || item.past;  // do-support: only its tense counts
      } else if (item.kind == Kind::Do && verb.empty()) {
        verb = item.chinese;  // "do" as the verb itself: 做
        past = past || item.past;
      } else if (item.kind == Kind::Have && verb.empty() &&
                 (next == Kind::Be || (m_at + 1 < m_items.size() &&
                                       (m_items[m_at + 1].inflection == Inflection::Participle ||
                                        m_items[m_at + 1].inflection == Inflection::Past)))) {
        perfect = true;  // "has been saved", "have finished"
      } else if (item.kind == Kind::Have && verb.empty() && IsNext("to")) {
        modal = "必须";  // "have to": must
        ++m_at;
      } else if (item.kind == Kind::Have && verb.empty()) {
        verb = item.chinese;
        haveVerb = true;
        past = past || item.past;
      } else if (item.kind == Kind::Be && verb.empty()) {
        be = true;
        past = past || item.past;
      } else if (item.kind == Kind::Adverb) {
        adverbs += item.chinese;
      } else if (item.kind == Kind::Degree && IsNext("much")) {
        adverbs += "非常";  // "thank you very much", "like it very much": before the verb
        ++m_at;
      } else if (item.kind == Kind::Degree && verb.empty() && !be) {
        adverbs += item.chinese;  // "I really like": degree before the verb
      } else if (item.kind == Kind::Degree && complement.empty() && verb.empty()) {
        degree = item.chinese;
      } else if (item.kind == Kind::Verb && verb.empty() && complement.empty()) {
        verb = item.chinese;
        past = past || item.inflection == Inflection::Past;
        progressive = be && item.inflection == Inflection::Progressive;
        passive = (be || perfect) && (item.inflection == Inflection::Past || item.inflection == Inflection::Participle);
      } else if (item.kind == Kind::No && verb.empty() && next == Kind::Verb) {
        verb = "禁止" + m_items[++m_at].chinese;  // "No smoking"
      } else if (item.kind == Kind::No && verb.empty()) {
        verb = "没有";  // "no money"
      } else if (be && verb.empty() && complement.empty() &&
                 (item.kind == Kind::Adjective || (!degree.empty() && item.kind == Kind::Noun))) {
        complement = item.chinese;  // "very" says what follows describes: "is very beautiful"
      } else {
        break;
      }
    }
    // The rest: objects, places, times, infinitives.
    std::vector<std::string> extraVerbs;
    while (m_at < m_items.size()) {
      const Item& item = Current();
      if (item.kind == Kind::Time) {
        times.push_back(item.chinese);
        ++m_at;
      } else if (item.kind == Kind::Determiner && item.lookup == "every" && m_at + 1 < m_items.size() &&
                 (m_items[m_at + 1].kind == Kind::Time || Find(kTimeUnits, m_items[m_at + 1].lookup))) {
        // "every day": 每天; "every morning": 每天早上.
        const TimeUnit* unit = Find(kTimeUnits, m_items[m_at + 1].lookup);
        times.push_back(unit ? "每" + std::string(unit->chinese) : "每天" + m_items[m_at + 1].chinese);
        m_at += 2;
      } else if ((item.lookup == "last" || item.lookup == "next") && m_at + 1 < m_items.size() &&
                 (m_items[m_at + 1].kind == Kind::Time || m_items[m_at + 1].kind == Kind::Noun)) {
        times.push_back((item.lookup == "last" ? "上个" : "下个") + m_items[m_at + 1].chinese);
        m_at += 2;
      } else if (item.lookup == "here" || (item.kind == Kind::There && !IsNext("is") && !IsNext("are"))) {
        // "here", "there": a place, before the verb or as what "be" says.
        const std::string place = item.lookup == "here" ? "这里" : "那里";
        if (verb.empty() && be && complement.empty()) {
          objects.push_back(place);
          objectIsPlace = true;
        } else {
          m_places.push_back("在" + place);
        }
        ++m_at;
      } else if (item.kind == Kind::Preposition) {
        Preposition(times, objects, objectIsPlace, verb.empty() && be && complement.empty());
      } else if (item.kind == Kind::Verb && item.inflection != Inflection::Past) {
        extraVerbs.push_back(item.chinese);  // "want to buy", "go and eat"
        ++m_at;
      } else if (item.kind == Kind::Adjective && be && complement.empty()) {
        complement = item.chinese;
        ++m_at;
      } else if (item.kind == Kind::Degree) {
        if (IsNext("much") || IsNext("well")) {
          adverbs += "很";
          ++m_at;
        } else {
          degree = item.chinese;
        }
        ++m_at;
      } else if (item.kind == Kind::Adverb) {
        adverbs += item.chinese;
        ++m_at;
      } else if (auto noun = (m_noIndefinite = be && verb.empty(), ParseNounPhrase())) {
        m_noIndefinite = false;
        if (noun->time) {
          times.push_back(noun->chinese);
        } else {
          (extraVerbs.empty() ? objects : m_extraObjects).push_back({noun->chinese, noun->latin});
        }
      } else if (item.kind == Kind::Conjunction && (item.lookup == "and" || item.lookup == "or") &&
                 m_at + 1 < m_items.size() && m_items[m_at + 1].kind == Kind::Verb) {
        ++m_at;  // "go and eat": 去吃
      } else if (item.kind == Kind::Conjunction && (item.lookup == "and" || item.lookup == "or")) {
        (extraVerbs.empty() ? objects : m_extraObjects).push_back(item.chinese);  // "coffee and tea"
        ++m_at;
      } else {
        if (!item.chinese.empty()) m_after.push_back({item.chinese, item.latin});
        ++m_at;
      }
    }

    // Assemble: time, adverbs, negation, modal, place, verb (+了), objects.
    const bool noVerb = verb.empty();
    for (const std::string& time : times) m_pieces.push_back(time);
    m_timeCount = m_pieces.size();
    std::string whAfter;
    if (!wh.empty()) {
      if (whWord == "when") m_pieces.push_back(wh);
      else if (whWord == "where" && verb.empty()) m_places.insert(m_places.begin(), "在" + wh);
      else if (whWord == "where") whAfter = "在" + wh;
      else if (whWord == "why" || (whWord == "how" && !(noVerb && be))) m_pieces.push_back(wh);
      else whAfter = wh;
    }
    m_pieces.push_back(adverbs);
    // 没 denies what happened or is going on; 不 a habit, a state or a wish.
    const bool happened = (past && (!be || passive)) || progressive || haveVerb;
    // Without a subject, a denial is a prohibition: 不要.
    if (negated) m_pieces.push_back(!m_subject && !m_existential ? "不要" : happened && modal.empty() ? "没" : "不");
    if (perfect && passive && !negated) m_pieces.push_back("已");
    m_pieces.push_back(modal);
    if (progressive && m_places.empty() && !negated) m_pieces.push_back("在");
    // Verbs of placement take the place after them: 住在北京.
    const bool placeAfter = verb == "住" || verb == "坐" || verb == "站" || verb == "躺" || verb == "放";
    for (const std::string& place : m_places) {
      if (!m_existential && !placeAfter) m_pieces.push_back(place);
    }
    if (m_existential) {
      m_pieces.push_back("有");
      for (const ChinesePiece& object : objects) m_pieces.push_back(object);
      return;
    }
    if (noVerb && be) {
      // "be" + adjective: 很 + adjective; "too" + adjective: 太 … 了;
      // "be" + noun: 是; "be" + place: 在.
      if (!complement.empty()) {
        const bool bare = negated || !m_subject || complement.starts_with("更");  // 很 only before a plain adjective
        if (degree == "太") {
          m_pieces.push_back("太" + complement + "了");
        } else {
          m_pieces.push_back((degree.empty() ? (bare ? "" : "很") : degree) + complement);
        }
      } else if (!objects.empty() && !objectIsPlace) {
        m_pieces.push_back("是");
        for (const ChinesePiece& object : objects) m_pieces.push_back(object);
      } else if (!objects.empty()) {
        for (const ChinesePiece& object : objects) m_pieces.push_back("在" + object.text);
      } else if (!whAfter.empty()) {
        m_pieces.push_back(whWord == "where" ? "在" + wh : whWord == "how" ? whAfter : "是" + whAfter);
        whAfter.clear();
      }
      m_pieces.push_back(whAfter);
      return;
    }
    m_pieces.push_back(degree);
    const bool marksPast = past && !negated && !passive && !verb.empty();
    m_pieces.push_back(verb + (marksPast && !objects.empty() ? "了" : ""));
    if (placeAfter) {
      for (const std::string& place : m_places) m_pieces.push_back(place);
    }
    for (const ChinesePiece& object : objects) m_pieces.push_back(object);
    for (const std::string& extra : extraVerbs) m_pieces.push_back(extra);
    for (const ChinesePiece& object : m_extraObjects) m_pieces.push_back(object);
    m_pieces.push_back(whAfter);
    if ((marksPast && objects.empty()) || (passive && !perfect && !negated && be)) m_pieces.push_back("了");
  }

  bool IsNext(std::string_view word) const { return m_at + 1 < m_items.size() && m_items[m_at + 1].lookup == word; }

  // A prepositional phrase: a place before the verb (在公园里), a time
  // ("at nine", "on Sunday"), or the goal of a motion ("to school": 学校).
  void Preposition(std::vector<std::string>& times, std::vector<ChinesePiece>& objects, bool& objectIsPlace,
                   bool complementSlot) {
    const Item preposition = Current();
    ++m_at;
    m_noIndefinite = true;
    if (Is(Kind::Number)) {
      times.push_back(Current().chinese + "点");  // "at nine"
      ++m_at;
      if (IsWord("o'clock")) ++m_at;
      m_noIndefinite = false;
      return;
    }
    if (Is(Kind::Verb) && preposition.lookup == "to") {
      m_noIndefinite = false;
      return;  // "want to go": the infinitive follows
    }
    auto noun = ParseNounPhrase();
    m_noIndefinite = false;
    if (!noun) return;
    if (noun->time) {
      times.push_back(noun->chinese);
      return;
    }
    const std::string& word = preposition.lookup;
    if (word == "to" || word == "into") {
      objects.push_back({noun->chinese, noun->latin});
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
        objects.push_back(place.substr(std::string_view("在").size()));
        objectIsPlace = true;
        return;
      }
      m_places.push_back(std::move(place));
      return;
    }
    m_places.push_back(preposition.chinese + noun->chinese);
  }

  std::vector<Item> m_items;
  bool m_question;
  std::size_t m_at = 0;
  std::optional<NounPhrase> m_subject;
  bool m_existential = false;
  std::vector<std::string> m_places;
  std::vector<ChinesePiece> m_pieces;
  std::vector<ChinesePiece> m_extraObjects;
  std::vector<ChinesePiece> m_after;
  bool m_noIndefinite = false;
  bool m_inOwner = false;  // parsing the N2 of "N1 of N2"
  std::size_t m_timeCount = 0;  // m_pieces begins with this many times  // "She is a teacher", "in a hospital": 一 goes unsaid
};

}  // namespace

std::vector<ChinesePiece> TranslateEnglishClause(const DictionaryIndex& index, const std::vector<ClauseToken>& words,
                                                 bool question, RuleTrace*) {
  std::vector<ChinesePiece> pieces = ClauseBuilder(Classify(Lexicon(index), words), question).Run();
  std::erase_if(pieces, [](const ChinesePiece& piece) { return piece.text.empty(); });
  return pieces;
}

}  // namespace parlavo::server
