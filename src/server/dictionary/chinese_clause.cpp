#include "dictionary/chinese_clause.h"

#include <algorithm>
#include <array>

#include "dictionary/english_morphology.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

// ---------------------------------------------------------------------------
// Closed classes: the grammar words a rule needs to recognise. Open-class
// words (nouns, verbs, adjectives) come from the dictionary.

enum class Person { First, Third, Plural };  // I am / he is / we, you, they are

struct Pronoun {
  std::string_view chinese, subject, object, possessive;
  Person person;
};

constexpr std::array<Pronoun, 13> kPronouns{{
    {"我", "I", "me", "my", Person::First},           {"你", "you", "you", "your", Person::Plural},
    {"您", "you", "you", "your", Person::Plural},       {"他", "he", "him", "his", Person::Third},
    {"她", "she", "her", "her", Person::Third},         {"它", "it", "it", "its", Person::Third},
    {"我们", "we", "us", "our", Person::Plural},        {"咱们", "we", "us", "our", Person::Plural},
    {"你们", "you", "you", "your", Person::Plural},     {"他们", "they", "them", "their", Person::Plural},
    {"她们", "they", "them", "their", Person::Plural},  {"它们", "they", "them", "their", Person::Plural},
    {"大家", "everyone", "everyone", "everyone's", Person::Third},
}};

// Determiners and question words that stand before a noun or for one.
struct Determiner {
  std::string_view chinese, english;
  bool plural;
  bool question;
};

constexpr std::array<Determiner, 21> kDeterminers{{
    {"这", "this", false, false},     {"那", "that", false, false},     {"这个", "this", false, false},
    {"那个", "that", false, false},   {"这些", "these", true, false},   {"那些", "those", true, false},
    {"每", "every", false, false},    {"每个", "every", false, false},  {"所有", "all", true, false},
    {"什么", "what", false, true},    {"哪", "which", false, true},     {"哪个", "which", false, true},
    {"谁", "who", false, true},       {"哪里", "where", false, true},   {"哪儿", "where", false, true},
    {"多少", "how much", false, true}, {"几", "how many", true, true},  {"怎么", "how", false, true},
    {"许多", "many", true, false},    {"很多", "many", true, false},    {"一些", "some", true, false},
}};

constexpr std::string_view kDigits[] = {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
constexpr std::string_view kEnglishNumbers[] = {"zero", "one", "two", "three", "four", "five", "six",
                                                "seven", "eight", "nine", "ten", "eleven", "twelve"};

// Measure words with an English counterpart: "一杯咖啡" -> "a cup of coffee".
// Other measure words ("个", "本") have none: "一本书" -> "a book".
struct Container {
  std::string_view chinese, english;
};
constexpr std::array<Container, 14> kContainers{{
    {"杯", "cup"},  {"瓶", "bottle"}, {"碗", "bowl"},  {"盒", "box"}, {"袋", "bag"},  {"箱", "box"},  {"块", "piece"},
    {"片", "slice"}, {"包", "pack"},  {"壶", "pot"},   {"盘", "plate"}, {"双", "pair"}, {"套", "set"}, {"群", "group"},
}};

// Adverbs that are grammar: 都 "all" (left unsaid), 也 "also" ...
struct Adverb {
  std::string_view chinese, english;
};
constexpr std::array<Adverb, 8> kAdverbs{{
    {"都", ""}, {"就", ""}, {"也", "also"}, {"还", "still"}, {"再", "again"}, {"又", "again"}, {"一起", "together"},
    {"一直", "always"},
}};

// Words after a noun that place something: "公园里" -> "in the park".
struct Locative {
  std::string_view chinese, preposition;
};
constexpr std::array<Locative, 8> kLocatives{{
    {"里", "in"}, {"里面", "in"}, {"中", "in"}, {"内", "in"}, {"上", "on"}, {"上面", "on"}, {"下", "under"},
    {"外", "outside"},
}};

// Modal verbs before a verb; 会 is "will" in a clause about the future.
struct Modal {
  std::string_view chinese, english;
};
constexpr std::array<Modal, 6> kModals{{
    {"能", "can"}, {"可以", "can"}, {"能够", "can"}, {"应该", "should"}, {"必须", "must"}, {"会", "can"},
}};

// Adverbs of degree before an adjective or verb.
struct Degree {
  std::string_view chinese, english;
};
constexpr std::array<Degree, 8> kDegrees{{
    {"很", "very"}, {"非常", "very"}, {"太", "too"}, {"真", "really"}, {"特别", "especially"}, {"比较", "rather"},
    {"最", "most"}, {"更", "more"},
}};

// Words meaning the time of an event stand at the end of an English clause.
bool IsFutureTime(std::string_view chinese) {
  return chinese.starts_with("明") || chinese.starts_with("下") || chinese.starts_with("将");
}

template <class Table>
auto Find(const Table& table, std::string_view chinese) -> const typename Table::value_type* {
  const auto found = std::find_if(table.begin(), table.end(), [&](const auto& row) { return row.chinese == chinese; });
  return found == table.end() ? nullptr : &*found;
}

bool StartsWithVowelSound(std::string_view word) {
  if (word.empty()) return false;
  const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(word.front())));
  if (word.starts_with("uni") || word.starts_with("use") || word.starts_with("one")) return false;
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || word.starts_with("hour");
}

std::string IndefiniteArticle(std::string_view word) { return StartsWithVowelSound(word) ? "an" : "a"; }

// The rendering of a word for its use: a verb's first "to" sense without
// "to", otherwise the first sense that is not a verb; failing that, the first.
std::string Sense(std::string_view senses, bool verb) {
  std::string_view first;
  while (!senses.empty()) {
    const auto slash = senses.find('/');
    const std::string_view sense = senses.substr(0, slash);
    if (first.empty()) first = sense;
    if (verb == sense.starts_with("to ")) return std::string(verb ? sense.substr(3) : sense);
    senses.remove_prefix(slash == std::string_view::npos ? senses.size() : slash + 1);
  }
  if (first.starts_with("to ")) first.remove_prefix(3);
  return std::string(first);
}

bool HasVerbSense(std::string_view senses) {
  return senses.starts_with("to ") || senses.find("/to ") != std::string_view::npos;
}

bool HasOtherSense(std::string_view senses) {
  while (!senses.empty()) {
    if (!senses.starts_with("to ")) return true;
    const auto slash = senses.find('/');
    senses.remove_prefix(slash == std::string_view::npos ? senses.size() : slash + 1);
  }
  return false;
}

// The value of a number written in Chinese numerals ("一千", "二十五"), or -1.
long NumberValue(std::string_view text) {
  long total = 0, section = 0, digit = -1;
  bool any = false;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    NextCodePoint(text, pos);
    const std::string_view c = text.substr(start, pos - start);
    const auto found = std::find(std::begin(kDigits), std::end(kDigits), c);
    if (found != std::end(kDigits)) {
      digit = found - std::begin(kDigits);
    } else if (c == "两") {
      digit = 2;
    } else if (c == "十" || c == "百" || c == "千") {
      const long unit = c == "十" ? 10 : c == "百" ? 100 : 1000;
      section += (digit < 0 ? 1 : digit) * unit;
      digit = -1;
    } else if (c == "万") {
      total += (section + std::max(digit, 0L)) * 10000;
      section = 0;
      digit = -1;
    } else {
      return -1;
    }
    any = true;
  }
  return any ? total + section + std::max(digit, 0L) : -1;
}

std::string EnglishNumber(long value) {
  if (value >= 0 && value <= 12) return std::string(kEnglishNumbers[value]);
  if (value == 100 || value == 1000) return value == 100 ? "a hundred" : "a thousand";
  return std::to_string(value);
}

// ---------------------------------------------------------------------------
// Chunks: noun phrases and the words between them, in Chinese order.

enum class Role {
  Noun, Verb, Copula, Adjective, Degree, Negation, Modal, Progressive, Already, Done, Time, Place, Please,
  Adverb, Other,
};

struct Chunk {
  Role role = Role::Other;
  std::string english;
  bool kept = false;
  // Noun phrases.
  const Pronoun* pronoun = nullptr;
  bool plural = false;
  bool determined = false;  // has a determiner, possessor or number: takes no article
  bool proper = false;      // a name or kept text: takes no article
  bool question = false;    // holds a question word
  // Negation: 没 (past) rather than 不.
  bool past = false;
  std::string chinese;
};

class ClauseChunker {
 public:
  ClauseChunker(const DictionaryIndex& index, const std::vector<ClauseWord>& words) : m_index(index), m_words(words) {
    // Asked of every word many times over while chunking: decided once.
    m_functionWords.reserve(words.size());
    for (const ClauseWord& word : words) m_functionWords.push_back(IsFunctionWordText(word.text));
  }

  std::vector<Chunk> Run() {
    while (m_at < m_words.size()) {
      // After 很 or 不 comes what describes or acts, never a noun phrase.
      const bool describing =
          !m_chunks.empty() && (m_chunks.back().role == Role::Degree || m_chunks.back().role == Role::Negation);
      if (auto noun = describing ? std::nullopt : NounPhrase()) {
        m_chunks.push_back(std::move(*noun));
      } else {
        m_chunks.push_back(Single());
      }
    }
    return std::move(m_chunks);
  }

 private:
  std::string_view Text(std::size_t at) const { return at < m_words.size() ? m_words[at].text : std::string_view(); }
  std::string_view Tag(std::size_t at) const {
    return at < m_words.size() && m_words[at].entry ? m_words[at].entry->tag : std::string_view();
  }
  std::string_view Senses(std::size_t at) const {
    return at < m_words.size() && m_words[at].entry ? m_words[at].entry->value : std::string_view();
  }

  bool IsFunctionWord(std::size_t at) const { return at < m_functionWords.size() && m_functionWords[at]; }
  // Sorted once: every word of every clause is looked up.
  static bool IsFunctionWordText(std::string_view text) {
    static const std::vector<std::string> sorted = [] {
      std::vector<std::string> words{"的", "了", "在", "是", "不", "没", "没有", "吗", "请", "正在", "已经",
                                     "已", "们", "想", "要", "吧", "呢", "啊"};
      const auto add = [&words](const auto& table) {
        for (const auto& row : table) words.emplace_back(row.chinese);
      };
      add(kPronouns);
      add(kModals);
      add(kDegrees);
      add(kLocatives);
      add(kAdverbs);
      for (std::string_view negation : kNegations) {
        for (std::string_view negated : kNegated) words.push_back(std::string(negation) + std::string(negated));
      }
      std::sort(words.begin(), words.end());
      return words;
    }();
    return std::binary_search(sorted.begin(), sorted.end(), text);
  }

  // 不是, 不能, 没有 ... written as one word.
  static constexpr std::string_view kNegations[] = {"不", "没"};
  static constexpr std::string_view kNegated[] = {"是", "能", "会", "可以", "要", "想"};
  static bool IsNegatedFunctionWord(std::string_view text) {
    for (std::string_view negation : kNegations) {
      if (!text.starts_with(negation)) continue;
      const std::string_view rest = text.substr(negation.size());
      if (std::find(std::begin(kNegated), std::end(kNegated), rest) != std::end(kNegated)) return true;
    }
    return false;
  }

  // A word that can head a noun phrase: a noun, a name, a place, or what the
  // dictionary lacks (most often a name) and text kept as it is.
  // jieba's tag decides, unless the dictionary has no sense of that kind:
  // a "verb" without a verb sense is a noun (警察), a "noun" with only verb
  // senses a verb (跑步). A verbal noun (vn) is a verb inside a 在 phrase.
  bool IsNoun(std::size_t at) const {
    if (at >= m_words.size()) return false;
    const ClauseWord& word = m_words[at];
    if (!word.han || !word.entry) return true;
    if (IsFunctionWord(at) || word.entry->value.empty() || !HasOtherSense(word.entry->value)) return false;
    const std::string_view tag = word.entry->tag;
    if (at == 0 && IsPredicateMarker(Text(1))) return true;  // the subject: "出口在左边"
    if (tag == "vn") return !m_inPlace;
    if (tag == "f") return m_inPlace;  // 在左边: "at the left"
    if (tag.starts_with('v')) return !HasVerbSense(word.entry->value);
    return tag.starts_with('n') || tag == "s" || tag == "an" || tag == "eng" ||
           (tag != "t" && !tag.starts_with('v') && !tag.starts_with('a') && !tag.starts_with('d') &&
            !tag.starts_with('p') && !tag.starts_with('c') && !tag.starts_with('u') && !tag.starts_with('f') &&
            !tag.starts_with('q') && !tag.starts_with('m') && !tag.starts_with('r') && !tag.starts_with('y') &&
            !Sense(word.entry->value, false).empty() && !word.entry->value.starts_with("to "));
  }
  static bool IsPredicateMarker(std::string_view text) {
    return text == "在" || text == "是" || text == "很" || text == "不" || text == "没" || text == "没有" ||
           text == "太" || text == "已经" || text == "正在" || text == "都" || text == "也";
  }
  bool IsAdjective(std::size_t at) const { return Tag(at).starts_with('a') && !IsFunctionWord(at); }
  bool IsVerb(std::size_t at) const {
    if (at >= m_words.size() || !m_words[at].entry || IsFunctionWord(at)) return false;
    const std::string_view senses = m_words[at].entry->value;
    return HasVerbSense(senses) && (Tag(at).starts_with('v') || !HasOtherSense(senses));
  }

  std::string NounEnglish(std::size_t at) const {
    const ClauseWord& word = m_words[at];
    if (!word.entry) return std::string(word.text);
    return Sense(word.entry->value, false);
  }

  // A measure word at `at` before the noun at `at + 1`, or one standing for
  // its noun; nullptr-like false when there is none.
  bool IsMeasure(std::size_t at) const {
    if (at >= m_words.size() || !m_words[at].entry) return false;
    if (Tag(at) == "q" || Find(kContainers, Text(at)) || Text(at) == "点") return true;
    // The classifier of the noun that follows, perhaps after an adjective (三本新书).
    for (std::size_t noun = at + 1; noun < std::min(at + 3, m_words.size()); ++noun) {
      if (m_words[noun].entry && m_words[noun].entry->measure == Text(at)) return true;
    }
    return false;
  }

  // Noun phrase: [possessor 的] [determiner] [number [measure]] [adjective [的]] noun+ [们].
  std::optional<Chunk> NounPhrase() {
    const std::size_t start = m_at;
    Chunk chunk;
    chunk.role = Role::Noun;
    std::vector<std::string> front;  // determiners and modifiers, in order
    std::string container;
    bool numbered = false;

    // Pronoun: alone, or a possessor before 的.
    if (const Pronoun* pronoun = Find(kPronouns, Text(m_at))) {
      if (Text(m_at + 1) == "的" && (IsNoun(m_at + 2) || IsAdjective(m_at + 2) || Find(kDeterminers, Text(m_at + 2)))) {
        front.emplace_back(pronoun->possessive);
        chunk.determined = true;
        m_at += 2;
      } else if (IsNoun(m_at + 1) && Tag(m_at + 1).starts_with('n') && Text(m_at + 1) != "们" &&
                 !Tag(m_at + 1).starts_with("nr") && m_words[m_at + 1].entry &&
                 m_words[m_at + 1].entry->frequency > 0 && IsKinship(Text(m_at + 1))) {
        front.emplace_back(pronoun->possessive);  // 我妈妈: "my mother"
        chunk.determined = true;
        m_at += 1;
      } else {
        chunk.pronoun = pronoun;
        chunk.english = pronoun->subject;
        chunk.chinese = Text(m_at);
        ++m_at;
        return chunk;
      }
    }
    // Time + 的 + noun: "yesterday's meeting".
    if (Tag(m_at) == "t" && Text(m_at + 1) == "的" && IsNoun(m_at + 2)) {
      front.push_back(Sense(Senses(m_at), false) + "'s");
      chunk.determined = true;
      m_at += 2;
    }
    // 很多 / 许多 + noun: "many".
    if ((Text(m_at) == "很" || Text(m_at) == "非常") && Text(m_at + 1) == "多" && IsNoun(m_at + 2)) {
      front.emplace_back("many");
      chunk.determined = chunk.plural = true;
      m_at += 2;
    }
    // Determiner (this, that, every, what ...).
    if (const Determiner* determiner = Find(kDeterminers, Text(m_at))) {
      front.emplace_back(determiner->english);
      chunk.determined = true;
      chunk.plural = determiner->plural;
      chunk.question = determiner->question;
      ++m_at;
    }
    // 百分之 + number: "five percent".
    if (Text(m_at) == "百分之" && NumberEnd(m_at + 1) > m_at + 1) {
      const std::size_t end = NumberEnd(m_at + 1);
      chunk.english = EnglishNumber(NumberValue(JoinedText(m_at + 1, end))) + " percent";
      chunk.determined = true;
      chunk.chinese = JoinedText(m_at, end);
      m_at = end;
      return chunk;
    }
    // Number and measure word.
    const auto numberEnd = NumberEnd(m_at);
    if (numberEnd > m_at) {
      const long value = NumberValue(JoinedText(m_at, numberEnd));
      m_at = numberEnd;
      if (IsMeasure(m_at)) {
        const std::string_view measure = Text(m_at);
        ++m_at;
        if (const Container* found = Find(kContainers, measure)) {
          container = value > 1 ? Plural(found->english) : std::string(found->english);
        } else if (measure == "点" && !IsNoun(m_at)) {
          container = "o'clock";
        }
      }
      front.push_back(value == 1 && container != "o'clock" ? "a" : EnglishNumber(value));
      chunk.plural = value > 1 && container != "o'clock";
      chunk.determined = numbered = true;
    } else if (chunk.determined && IsMeasure(m_at) && (IsNoun(m_at + 1) || IsAdjective(m_at + 1))) {
      ++m_at;  // 这本书: "this book"
    }
    // Modifiers before 的, and nouns.
    std::vector<std::string> nouns;
    std::size_t lastNoun = 0;
    while (m_at < m_words.size()) {
      if (IsAdjective(m_at) && Text(m_at + 1) == "的" && (IsNoun(m_at + 2) || IsAdjective(m_at + 2))) {
        front.push_back(Sense(Senses(m_at), false));
        m_at += 2;
      } else if (IsAdjective(m_at) && IsNoun(m_at + 1) && nouns.empty() && !Tag(m_at).starts_with("ad") &&
                 CountCodePoints(Text(m_at)) == 1) {
        front.push_back(Sense(Senses(m_at), false));  // 新书: "new book"
        ++m_at;
      } else if (IsNoun(m_at) && !nouns.empty() && Text(m_at + 1) != "的" && m_words[m_at].han != m_words[lastNoun].han) {
        break;  // kept text next to Chinese is a separate phrase
      } else if (IsNoun(m_at) && Tag(m_at) == "vn" && nouns.empty() && front.empty() && m_at > 0) {
        break;  // a verbal noun after a verb or adverb is the verb: "请检查", "不工作"
      } else if (IsNoun(m_at)) {
        if (Text(m_at + 1) == "的" && (IsNoun(m_at + 2) || IsAdjective(m_at + 2)) && !Find(kPronouns, Text(m_at + 2))) {
          // N1 的 N2: "N1's N2".
          const bool properOwner = !m_words[m_at].entry || Tag(m_at).starts_with("nr") || Tag(m_at).starts_with("ns");
          std::string owner = JoinNouns(nouns, NounEnglish(m_at));
          nouns.clear();
          front.push_back((front.empty() && !properOwner ? "the " : "") + owner + "'s");
          chunk.determined = true;
          m_at += 2;
          continue;
        }
        if (!m_words[m_at].han || !m_words[m_at].entry || Tag(m_at).starts_with("nr") || Tag(m_at).starts_with("ns")) {
          chunk.proper = true;
        }
        nouns.push_back(NounEnglish(m_at));
        lastNoun = m_at;
        ++m_at;
      } else {
        break;
      }
    }
    if (Text(m_at) == "们" && !nouns.empty()) {
      chunk.plural = true;
      ++m_at;
    }
    if (nouns.empty()) {
      if (!container.empty() || (numbered && m_at > start)) {
        nouns.push_back(container.empty() ? std::string() : container);
        container.clear();
      } else if (chunk.determined && m_at > start && front.size() == 1) {
        chunk.english = front.front();  // "这" alone: "this"
        return chunk;
      } else {
        m_at = start;
        return std::nullopt;
      }
    }
    std::string head = nouns.back();
    nouns.pop_back();
    if (chunk.plural && container.empty() && !head.empty()) head = Plural(head);
    if (!container.empty()) head = container + " of " + head;
    chunk.english = Join(front);
    for (const std::string& noun : nouns) chunk.english += (chunk.english.empty() ? "" : " ") + noun;
    if (!head.empty()) chunk.english += (chunk.english.empty() ? "" : " ") + head;
    chunk.chinese = JoinedText(start, m_at);
    if (chunk.english.ends_with("o'clock")) {
      chunk.role = Role::Time;  // a clock time: "at nine o'clock"
      chunk.english = "at " + chunk.english;
    }
    return chunk;
  }

  // Pronoun + kin or home without 的 ("我妈妈", "我家"): still a possessor.
  static bool IsKinship(std::string_view text) {
    for (std::string_view kin : {"妈妈", "爸爸", "父亲", "母亲", "哥哥", "姐姐", "弟弟", "妹妹", "家", "家人", "朋友"}) {
      if (text == kin) return true;
    }
    return false;
  }

  static std::string JoinNouns(const std::vector<std::string>& nouns, std::string last) {
    std::string joined;
    for (const std::string& noun : nouns) joined += noun + ' ';
    return joined + last;
  }
  static std::string Join(const std::vector<std::string>& words) {
    std::string joined;
    for (const std::string& word : words) {
      if (word.empty()) continue;
      if (!joined.empty()) joined += ' ';
      joined += word;
    }
    return joined;
  }
  std::string JoinedText(std::size_t from, std::size_t to) const {
    std::string text;
    for (std::size_t i = from; i < to; ++i) text += m_words[i].text;
    return text;
  }

  // The end of a run of numeral words starting at `at` (== at when none). A
  // numeral glued to a measure word by the segmentation ("一杯") is split in
  // place by the caller's measure check on the remainder.
  std::size_t NumberEnd(std::size_t at) const {
    std::size_t end = at;
    while (end < m_words.size() && m_words[end].han && NumberValue(m_words[end].text) >= 0) ++end;
    return end;
  }

  // One word that is not part of a noun phrase.
  Chunk Single() {
    const ClauseWord& original = m_words[m_at++];
    ClauseWord word = original;
    // 不是, 不能, 没有 ... written as one word: the negation, then the word.
    if (word.han && IsNegatedFunctionWord(word.text)) {
      const bool past = word.text.starts_with("没");
      const std::string_view rest = word.text.substr(std::string_view("不").size());
      // 不要 + verb: "do not" (a prohibition), 要 says nothing more.
      if (rest == "要" && (IsVerb(m_at) || Text(m_at) == "在")) return NegationChunk(past);
      m_chunks.push_back(NegationChunk(past));
      word = {rest, m_index.Chinese(rest), true};
    }
    const std::string_view text = word.text;
    Chunk chunk;
    chunk.chinese = text;
    if (!word.entry) {
      chunk.english = text;
      chunk.kept = !word.han;
      return chunk;
    }
    const std::string_view tag = word.entry->tag;
    if (text == "是") {
      chunk.role = Role::Copula;
    } else if (text == "不" || text == "没" || text == "没有" || text == "别") {
      // 没有 before a noun phrase is "have no"; before a verb, "did not".
      if (text == "没有" && !IsVerb(m_at) && !IsAdjective(m_at)) {
        chunk.role = Role::Verb;
        chunk.english = "have";
        m_chunks.push_back(NegationChunk(true));
        return chunk;
      }
      chunk.role = Role::Negation;
      chunk.past = text != "不" && text != "别";
    } else if (text == "正在" || (text == "在" && (IsVerb(m_at) || Find(kModals, Text(m_at))))) {
      chunk.role = Role::Progressive;  // 在 + verb: an action going on
    } else if ((text == "在" || text == "从" || text == "到" || text == "离") &&
               (Text(m_at) == "这里" || Text(m_at) == "这儿" || Text(m_at) == "那里" || Text(m_at) == "那儿")) {
      // 在这里: "here"; 离这里: "from here".
      chunk.role = Role::Place;
      const std::string_view where = Text(m_at++).starts_with("这") ? "here" : "there";
      chunk.english = (text == "在" ? "" : text == "到" ? "to " : "from ") + std::string(where);
    } else if (text == "在" || text == "从" || text == "到" || text == "离") {
      // 在 + place (+ 里/上): "in/at/on the place"; the phrase moves after the verb.
      chunk.role = Role::Place;
      m_inPlace = true;
      auto place = NounPhrase();
      m_inPlace = false;
      std::string preposition = text == "从" || text == "离" ? "from" : text == "到" ? "to" : "at";
      if (place) {
        if (const Locative* locative = Find(kLocatives, Text(m_at))) {
          if (text == "在") preposition = locative->preposition;
          ++m_at;
        } else if (text == "在" && place->proper) {
          preposition = "in";
        }
        if (place->question) {
          chunk.english = place->english;  // 在哪里: "where"
          chunk.question = true;
        } else {
          chunk.english = preposition + ' ' + WithArticle(*place, "the");
        }
      } else {
        chunk.english = preposition;
      }
    } else if (const Adverb* adverb = Find(kAdverbs, text)) {
      chunk.role = Role::Adverb;
      chunk.english = adverb->english;
    } else if (text == "已经" || text == "已") {
      chunk.role = Role::Already;
    } else if (text == "了") {
      chunk.role = Role::Done;
    } else if (text == "请") {
      chunk.role = Role::Please;
      chunk.english = "please";
    } else if (const Modal* modal = Find(kModals, text)) {
      if (IsVerb(m_at) || Find(kModals, Text(m_at)) || Text(m_at) == "在" || Text(m_at) == "是") {
        chunk.role = Role::Modal;
        chunk.english = modal->english;
      } else {
        chunk.role = Role::Verb;
        chunk.english = Sense(word.entry->value, true);
      }
    } else if (text == "想" || text == "要") {
      // 想/要 + verb: "want to"; 要 alone before a noun: "want".
      chunk.role = Role::Verb;
      chunk.english = IsVerb(m_at) || Text(m_at) == "去" ? "want to" : "want";
    } else if (const Degree* degree = Find(kDegrees, text)) {
      chunk.role = Role::Degree;
      chunk.english = degree->english;
    } else if (tag == "t") {
      chunk.role = Role::Time;
      chunk.english = Sense(word.entry->value, false);
    } else if (text == "吗" || text == "呢" || text == "吧" || text == "啊" || text == "的" || text == "们" ||
               Find(kLocatives, text) || word.entry->value.empty()) {
      chunk.role = Role::Other;  // particles: their work is done by the rules
    } else if (!m_chunks.empty() && HasOtherSense(word.entry->value) &&
               ((m_chunks.back().role == Role::Degree && !tag.starts_with('n')) ||
                (m_chunks.back().role == Role::Negation && tag.starts_with('a')))) {
      // 很/不 + a word that can describe: an adjective ("很忙": "very busy").
      chunk.role = Role::Adjective;
      chunk.english = Sense(word.entry->value, false);
    } else if (tag.starts_with('v') && !word.entry->value.starts_with("to ") && !m_chunks.empty() &&
               m_chunks.back().role == Role::Noun && (m_at == m_words.size() || Text(m_at) == "了")) {
      // Subject + word + (了) with a describing first sense: "我饿了" -> "I am hungry".
      chunk.role = Role::Adjective;
      chunk.english = Sense(word.entry->value, false);
    } else if (IsVerb(m_at - 1) || (tag.starts_with('v') && word.text != original.text) ||
               (!m_chunks.empty() && m_chunks.back().role == Role::Please && HasVerbSense(word.entry->value))) {
      chunk.role = Role::Verb;
      chunk.english = Sense(word.entry->value, true);
      // Verb + 不 + result (找不到, 做不完): "cannot" + verb.
      const auto isResult = [](std::string_view c) {
        return c == "到" || c == "了" || c == "动" || c == "完" || c == "懂" || c == "开";
      };
      const std::string_view after = Text(m_at);
      const bool joined = after.starts_with("不") && isResult(after.substr(std::string_view("不").size()));
      if ((after == "不" && isResult(Text(m_at + 1))) || joined) {
        m_chunks.push_back(NegationChunk(false));
        m_chunks.push_back({Role::Modal, "can", false, nullptr, false, false, false, false, false, "能"});
        m_at += joined ? 1 : 2;
      }
      // 叫 before a name: "to be called".
      if (text == "叫" && m_at < m_words.size() &&
          (!m_words[m_at].entry || Tag(m_at).starts_with("nr") || Find(kDeterminers, Text(m_at)))) {
        chunk.english = "be called";
      }
    } else if (tag.starts_with('a')) {
      chunk.role = tag == "ad" ? Role::Adverb : Role::Adjective;
      chunk.english = Sense(word.entry->value, false);
    } else if (tag.starts_with('d')) {
      chunk.role = Role::Adverb;
      chunk.english = Sense(word.entry->value, false);
    } else {
      chunk.english = Sense(word.entry->value, tag.starts_with('v'));
    }
    return chunk;
  }

  static Chunk NegationChunk(bool past) {
    Chunk chunk;
    chunk.role = Role::Negation;
    chunk.past = past;
    chunk.chinese = past ? "没" : "不";
    return chunk;
  }

 public:
  // The noun phrase as English puts it in a sentence: bare common nouns take
  // an article.
  static std::string WithArticle(const Chunk& noun, std::string_view article) {
    const bool hasArticle = noun.english.starts_with("a ") || noun.english.starts_with("an ") ||
                            noun.english.starts_with("the ");
    if (noun.pronoun || noun.determined || noun.proper || noun.kept || noun.english.empty() || article.empty() ||
        hasArticle) {
      return noun.english;
    }
    if (article == "a") {
      if (noun.plural) return noun.english;
      return IndefiniteArticle(noun.english) + ' ' + noun.english;
    }
    return std::string(article) + ' ' + noun.english;
  }

 private:
  const DictionaryIndex& m_index;
  const std::vector<ClauseWord>& m_words;
  std::vector<bool> m_functionWords;
  std::size_t m_at = 0;
  bool m_inPlace = false;
  std::vector<Chunk> m_chunks;
};

// ---------------------------------------------------------------------------
// Ordering and inflection.

bool IsPredicate(Role role) {
  return role == Role::Verb || role == Role::Copula || role == Role::Adjective || role == Role::Degree ||
         role == Role::Negation || role == Role::Modal || role == Role::Progressive || role == Role::Already ||
         role == Role::Place || role == Role::Adverb;
}

// "cannot find", "must go": glosses that already hold a modal take no ending.
bool IsModalVerb(std::string_view verb) {
  for (std::string_view modal : {"can", "cannot", "must", "should", "may", "will", "would", "could"}) {
    if (verb == modal || verb.starts_with(std::string(modal) + ' ')) return true;
  }
  return false;
}

std::string Be(Person person, bool past) {
  if (past) return person == Person::Plural ? "were" : "was";
  return person == Person::First ? "am" : person == Person::Plural ? "are" : "is";
}

class ClauseWriter {
 public:
  ClauseWriter(std::vector<Chunk> chunks, bool question) : m_chunks(std::move(chunks)), m_question(question) {}

  std::vector<EnglishWord> Run() {
    for (const Chunk& chunk : m_chunks) {
      if (chunk.chinese == "吗") m_question = m_yesNo = true;
    }
    TakeTimeWords();
    const bool please = !m_chunks.empty() && m_chunks.front().role == Role::Please;
    if (please) {
      Emit("please");
      m_chunks.erase(m_chunks.begin());
    }
    // Subject: a noun phrase before the predicate.
    std::optional<Chunk> subject;
    if (!m_chunks.empty() && m_chunks.front().role == Role::Noun && m_chunks.size() > 1 &&
        IsPredicate(m_chunks[1].role)) {
      subject = std::move(m_chunks.front());
      m_chunks.erase(m_chunks.begin());
    }
    const Person person = !subject              ? Person::Plural
                          : subject->pronoun    ? subject->pronoun->person
                          : subject->plural     ? Person::Plural
                                                : Person::Third;
    if (!subject && !please && !m_chunks.empty() && m_chunks.front().role == Role::Noun) {
      // A noun phrase alone ("下载完成", "禁止停车") reads as a heading.
      for (const Chunk& chunk : m_chunks) Emit(chunk, "", !m_out.empty());
      EmitTime();
      return std::move(m_out);
    }
    WritePredicate(subject, person, please || !subject);
    EmitTime();
    return std::move(m_out);
  }

 private:
  // Time words (今天, 明天, 每天早上) go to the end of the English clause.
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
    m_chunks = std::move(rest);
  }

  void WritePredicate(std::optional<Chunk>& subject, Person person, bool imperative) {
    // Gather what comes before the main verb.
    bool negated = false, negatedPast = false, progressive = false, already = false, done = false;
    std::string modal, degree, adverbs;
    std::vector<std::string> places;
    std::size_t i = 0;
    for (; i < m_chunks.size(); ++i) {
      const Chunk& chunk = m_chunks[i];
      if (chunk.role == Role::Negation) {
        negated = true;
        negatedPast = negatedPast || chunk.past;
      } else if (chunk.role == Role::Modal) {
        modal = m_future && chunk.chinese == "会" ? "will" : chunk.english;
      } else if (chunk.role == Role::Progressive) {
        progressive = true;
      } else if (chunk.role == Role::Already) {
        already = true;
      } else if (chunk.role == Role::Degree) {
        degree = chunk.english;
      } else if (chunk.role == Role::Adverb) {
        if (!chunk.english.empty()) adverbs += (adverbs.empty() ? "" : " ") + chunk.english;
      } else if (chunk.role == Role::Place && i + 1 < m_chunks.size() && m_chunks[i + 1].role != Role::Done) {
        if (chunk.question) m_whWord = chunk.english;
        else places.push_back(chunk.english);
      } else {
        break;
      }
    }
    for (std::size_t j = i; j < m_chunks.size(); ++j) done = done || m_chunks[j].role == Role::Done;

    // The main predicate.
    enum class Kind { Verb, Be } kind = Kind::Be;
    std::string verb;  // Verb: lemma; Be: what follows "be"
    std::vector<std::string> after;
    if (i < m_chunks.size() && m_chunks[i].role == Role::Verb && m_chunks[i].english.starts_with("be ")) {
      after.push_back(m_chunks[i].english.substr(3));  // "to be called": a form of "be"
      ++i;
    } else if (i < m_chunks.size() && m_chunks[i].role == Role::Verb) {
      kind = Kind::Verb;
      verb = m_chunks[i].english;
      ++i;
    } else if (i < m_chunks.size() && m_chunks[i].role == Role::Copula) {
      ++i;
      if (i < m_chunks.size() && m_chunks[i].role == Role::Noun) {
        after.push_back(ClauseChunker::WithArticle(m_chunks[i], "a"));
        ++i;
      }
    } else if (i < m_chunks.size() && m_chunks[i].role == Role::Adjective) {
      after.push_back((degree.empty() ? "" : degree + " ") + m_chunks[i].english);
      degree.clear();
      ++i;
    } else if (i < m_chunks.size() && m_chunks[i].role == Role::Place) {
      if (m_chunks[i].question) m_whWord = m_chunks[i].english;
      else after.push_back(m_chunks[i].english);  // 在 + place alone: "be in the place"
      ++i;
    } else if (!progressive && !negated && modal.empty()) {
      // Nothing to inflect: keep the words in their order.
      if (subject) Emit(*subject, "the");
      for (const std::string& place : places) Emit(place);
      for (; i < m_chunks.size(); ++i) Emit(m_chunks[i], "", true);
      return;
    }
    // Objects and the rest of the clause.
    bool verbBefore = kind == Kind::Verb;
    for (; i < m_chunks.size(); ++i) {
      Chunk& chunk = m_chunks[i];
      if (chunk.role == Role::Done || (chunk.role == Role::Other && chunk.english.empty())) continue;
      if (chunk.role == Role::Noun && chunk.question && m_question) {
        m_whWord = chunk.english;  // 你叫什么名字: the question word leads
        continue;
      }
      if (chunk.role == Role::Place && chunk.question) {
        m_whWord = chunk.english;
      } else if (chunk.role == Role::Noun && chunk.pronoun) {
        after.emplace_back(chunk.pronoun->object);
      } else if (chunk.role == Role::Noun) {
        after.push_back(ClauseChunker::WithArticle(chunk, verbBefore || kind == Kind::Verb ? "" : "the"));
      } else if (chunk.role == Role::Place) {
        places.push_back(chunk.english);
      } else if (chunk.role == Role::Verb && verbBefore) {
        // Verb after verb: "like to eat", "go to see".
        after.push_back((after.empty() && verb.ends_with(" to") ? "" : "to ") + chunk.english);
      } else if (chunk.role == Role::Degree && i + 1 < m_chunks.size()) {
        after.push_back(chunk.english);
      } else if (!chunk.english.empty()) {
        after.push_back(chunk.english);
        verbBefore = chunk.role == Role::Verb || verbBefore;
      }
    }
    if (kind == Kind::Verb && (verb == "go" || verb == "come" || verb == "return") && !after.empty() &&
        !after.front().starts_with("to ")) {
      after.front() = "to " + after.front();  // 去北京: "go to Beijing"
    }

    // Inflect: the first word of the verb group agrees with the subject and
    // carries tense; a question puts it before the subject.
    std::vector<std::string> group;  // finite word first
    const bool past = (done && kind == Kind::Verb) || negatedPast;
    if (!modal.empty()) {
      group.push_back(negated ? (modal == "can" ? "cannot" : modal + " not") : modal);
      if (kind == Kind::Be) group.push_back(progressive ? "be " + InflectVerb(verb, Inflection::Progressive) : "be");
      else group.push_back(verb);
    } else if (kind == Kind::Be || progressive) {
      const bool beforeVerb = progressive && kind == Kind::Verb;
      group.push_back(imperative && !m_question ? "be" : Be(person, false));
      if (negated) group.push_back("not");
      if (beforeVerb) group.push_back(InflectVerb(verb, Inflection::Progressive));
    } else if (already) {
      group.push_back(person == Person::Third ? "has" : "have");
      if (negated) group.push_back("not");
      // A thing that has undergone the act, with nothing after the verb, is
      // its object: "文件已保存" -> "The file has been saved".
      const bool undergone = subject && !subject->pronoun && !subject->proper && after.empty();
      group.push_back((undergone ? "been " : "already ") + InflectVerb(verb, Inflection::Participle));
    } else if (negated || (m_question && subject)) {
      group.push_back(past ? "did" : person == Person::Third ? "does" : "do");
      if (negated) group.push_back("not");
      group.push_back(verb);
    } else if (imperative || IsModalVerb(verb)) {
      group.push_back(verb);
    } else {
      group.push_back(InflectVerb(verb, past ? Inflection::Past : person == Person::Third ? Inflection::ThirdPerson
                                                                                        : Inflection::None));
    }
    if (!adverbs.empty() && group.size() == 1) group.insert(group.begin(), adverbs);
    else if (!adverbs.empty()) group.insert(group.begin() + 1, adverbs);
    if (!degree.empty()) group.push_back(degree == "very" ? "really" : degree);

    const bool auxiliaryFirst = group.size() > 1 || kind == Kind::Be;
    const bool invert = m_question && subject && (m_yesNo || !m_whWord.empty()) && auxiliaryFirst;
    if (!m_whWord.empty()) Emit(m_whWord);
    if (invert) Emit(group.front());
    if (subject) Emit(*subject, "the");
    for (std::size_t g = invert ? 1 : 0; g < group.size(); ++g) Emit(group[g]);
    for (const std::string& word : after) Emit(word);
    for (const std::string& place : places) Emit(place);
    if (m_now) Emit("now");
  }

  // Clock times first, then a part of the day with "in the" unless after
  // "every": "at three o'clock in the afternoon", "every morning".
  void EmitTime() {
    for (const std::string& time : m_time) {
      if (time.starts_with("at ")) Emit(time);
    }
    for (std::size_t t = 0; t < m_time.size(); ++t) {
      const std::string& time = m_time[t];
      if (time.starts_with("at ") || (time == "now" && m_now)) continue;
      const bool partOfDay = time.ends_with("morning") || time == "afternoon" || time == "evening" || time == "night";
      Emit(partOfDay && (t == 0 || m_time[t - 1] != "every") ? "in the " + time : time);
    }
  }

  // `object`: a pronoun takes its object form ("for me").
  void Emit(const Chunk& chunk, std::string_view article = "", bool object = false) {
    if (chunk.pronoun) {
      Emit(std::string(object ? chunk.pronoun->object : chunk.pronoun->subject));
    } else if (chunk.kept) {
      m_out.push_back({chunk.english, true});
    } else if (chunk.role == Role::Noun) {
      Emit(ClauseChunker::WithArticle(chunk, article));
    } else if (!chunk.english.empty()) {
      Emit(chunk.english);
    }
  }
  void Emit(const std::string& words) {
    if (!words.empty()) m_out.push_back({words, false});
  }

  std::vector<Chunk> m_chunks;
  bool m_question;
  bool m_yesNo = false;
  bool m_future = false;
  bool m_now = false;
  std::string m_whWord;
  std::vector<std::string> m_time;
  std::vector<EnglishWord> m_out;
};

}  // namespace

std::vector<EnglishWord> TranslateChineseClause(const DictionaryIndex& index, const std::vector<ClauseWord>& words,
                                                bool question) {
  return ClauseWriter(ClauseChunker(index, words).Run(), question).Run();
}

}  // namespace parlavo::server
