#include "dictionary/chinese_clause.h"

#include <algorithm>
#include <cctype>

#include "dictionary/chinese_rules.h"
#include "dictionary/chinese_segmenter.h"
#include "dictionary/english_morphology.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace chinese_rules {

namespace {

bool StartsWithVowelSound(std::string_view word) {
  if (word.empty()) return false;
  const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(word.front())));
  if (word.starts_with("uni") || word.starts_with("use") || word.starts_with("one")) return false;
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || word.starts_with("hour");
}

// 不是, 不能, 没有 ... written as one word.
constexpr std::string_view kNegations[] = {"不", "没"};
constexpr std::string_view kNegated[] = {"是", "能", "会", "可以", "要", "想"};

// Words the rules recognise by their text, so never an open-class word.
bool IsFunctionWordText(std::string_view text) {
  static const std::vector<std::string> sorted = [] {
    std::vector<std::string> words{"在", "是", "请", "正在", "已经", "已", "想", "要"};
    for (const ClosedClassWord& row : ClosedClassWords()) {
      if (row.flags & kToChinese) continue;
      switch (row.wordClass) {
        case WordClass::Pronoun:
        case WordClass::Modal:
        case WordClass::Degree:
        case WordClass::Locative:
        case WordClass::Adverb:
        case WordClass::Negator:
        case WordClass::Particle:
        case WordClass::Conjunction:
          words.emplace_back(row.chinese);
          break;
        default:
          break;
      }
    }
    for (std::string_view negation : kNegations) {
      for (std::string_view negated : kNegated) words.push_back(std::string(negation) + std::string(negated));
    }
    std::sort(words.begin(), words.end());
    return words;
  }();
  return std::binary_search(sorted.begin(), sorted.end(), text);
}

bool IsPredicateMarker(std::string_view text) {
  return text == "在" || text == "是" || text == "很" || text == "不" || text == "没" || text == "没有" ||
         text == "太" || text == "已经" || text == "正在" || text == "都" || text == "也";
}

}  // namespace

Person PersonOf(const ClosedClassWord& pronoun) {
  return pronoun.flags & kFirstPerson ? Person::First : pronoun.flags & kPlural ? Person::Plural : Person::Third;
}

// A dictionary rendering as it stands in a sentence: the placeholders for
// the objects around it ("sb", "sth") and notes in brackets left out:
// "let sb do sth" → "let", "make sb (feel sad etc)" → "make", "return sth to sb" → "return".
std::string Rendering(std::string_view sense) {
  std::string bare;
  int depth = 0;
  for (const char c : sense) {
    if (c == '(') ++depth;
    if (depth == 0) bare += c;
    if (c == ')' && depth > 0) --depth;
  }
  std::vector<std::string_view> words;
  for (std::string_view rest = bare; !rest.empty();) {
    const auto blank = rest.find(' ');
    const std::string_view word = rest.substr(0, blank);
    rest.remove_prefix(blank == std::string_view::npos ? rest.size() : blank + 1);
    const bool placeholder = word == "sb" || word == "sth" || word == "sb's" || word == "sth's";
    // "return sth to sb" → "return": the preposition between two placeholders goes with the second.
    if (placeholder && words.size() >= 2 && words[words.size() - 2] == "sb") words.pop_back();
    if (word.empty() || placeholder || (word == "do" && !words.empty() && words.back() == "sb")) {
      if (placeholder) words.push_back("sb");  // dropped below; marks "sb do sth"
      continue;
    }
    words.push_back(word);
  }
  std::string out;
  for (const std::string_view word : words) {
    if (word == "sb") continue;
    if (!out.empty()) out += ' ';
    out += word;
  }
  return out.empty() ? std::string(sense) : out;
}

bool IsTimeQuestion(const ClosedClassWord& row) {
  return row.wordClass == WordClass::QuestionWord && (row.english == "when" || row.english == "what time");
}

std::string Sense(std::string_view senses, bool verb) {
  std::string_view first;
  while (!senses.empty()) {
    const auto slash = senses.find('/');
    const std::string_view sense = senses.substr(0, slash);
    if (first.empty()) first = sense;
    if (verb == sense.starts_with("to ")) return Rendering(verb ? sense.substr(3) : sense);
    senses.remove_prefix(slash == std::string_view::npos ? senses.size() : slash + 1);
  }
  if (first.starts_with("to ")) first.remove_prefix(3);
  return Rendering(first);
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

std::string WithArticle(const Chunk& noun, std::string_view article) {
  const bool hasArticle =
      noun.english.starts_with("a ") || noun.english.starts_with("an ") || noun.english.starts_with("the ");
  if (noun.pronoun || noun.determined || noun.proper || noun.kept || noun.english.empty() || article.empty() ||
      hasArticle) {
    return noun.english;
  }
  if (article == "a") {
    if (noun.plural) return noun.english;
    return (StartsWithVowelSound(noun.english) ? "an " : "a ") + noun.english;
  }
  return std::string(article) + ' ' + noun.english;
}

std::string JoinWords(const std::vector<std::string>& words) {
  std::string joined;
  for (const std::string& word : words) {
    if (word.empty()) continue;
    if (!joined.empty()) joined += ' ';
    joined += word;
  }
  return joined;
}

Chunker::Chunker(const DictionaryIndex& index, const std::vector<ClauseWord>& words, RuleTrace* trace)
    : m_index(index), m_words(words), m_trace(trace) {
  // Asked of every word many times over while chunking: decided once.
  m_functionWords.reserve(words.size());
  for (const ClauseWord& word : words) m_functionWords.push_back(IsFunctionWordText(word.text));
}

std::vector<Chunk> Chunker::Run() {
  const bool asked = AskedByChoice();
  while (m_at < m_words.size()) {
    // After 很 or 不 comes what describes or acts, never a noun phrase.
    const bool describing =
        !m_chunks.empty() && (m_chunks.back().role == Role::Degree || m_chunks.back().role == Role::Negation);
    std::optional<Chunk> phrase;
    if (!describing) phrase = Postposed();
    if (!describing && !phrase) phrase = RelativeClause();
    if (!describing && !phrase) phrase = DoerClause();
    if (!phrase) phrase = Ba();
    if (!phrase) phrase = Bei();
    if (!describing && !phrase) phrase = NumberPhrase();
    if (!describing && !phrase) phrase = NameWithTitle();
    if (!describing && !phrase) phrase = NounPhrase();
    if (phrase && phrase->role == Role::Noun) phrase = Coordinated(std::move(*phrase));
    m_chunks.push_back(phrase ? std::move(*phrase) : Single());
  }
  if (asked) {
    Chunk yesNo;
    yesNo.chinese = "吗";  // read as a yes/no question by the order stage
    m_chunks.push_back(std::move(yesNo));
  }
  return std::move(m_chunks);
}

std::string_view Chunker::Text(std::size_t at) const {
  return at < m_words.size() ? m_words[at].text : std::string_view();
}
std::string_view Chunker::Tag(std::size_t at) const {
  return at < m_words.size() && m_words[at].entry ? m_words[at].entry->tag : std::string_view();
}
std::string_view Chunker::Senses(std::size_t at) const {
  return at < m_words.size() && m_words[at].entry ? m_words[at].entry->value : std::string_view();
}
std::string Chunker::JoinedText(std::size_t from, std::size_t to) const {
  std::string text;
  for (std::size_t i = from; i < to && i < m_words.size(); ++i) text += m_words[i].text;
  return text;
}
bool Chunker::IsFunctionWord(std::size_t at) const { return at < m_functionWords.size() && m_functionWords[at]; }

// A word that can head a noun phrase: a noun, a name, a place, or what the
// dictionary lacks (most often a name) and text kept as it is.
// jieba's tag decides, unless the dictionary has no sense of that kind:
// a "verb" without a verb sense is a noun (警察), a "noun" with only verb
// senses a verb (跑步). A verbal noun (vn) is a verb inside a 在 phrase.
bool Chunker::IsNoun(std::size_t at) const {
  if (at >= m_words.size()) return false;
  const ClauseWord& word = m_words[at];
  if (!word.han || !word.entry) return true;
  if (IsFunctionWord(at) || word.entry->value.empty() || !HasOtherSense(word.entry->value)) return false;
  const std::string_view tag = word.entry->tag;
  if (at == 0 && IsPredicateMarker(Text(1))) return true;  // the subject: "出口在左边"
  if (at > 0 && Text(at - 1) == "的") return true;          // what 的 leads to is a thing: "你的包裹"
  if (tag == "vn") return !m_inPlace;
  if (tag == "q" && m_inPlace) return true;  // 到家: "home", not the measure word
  if (tag == "f") return m_inPlace || at == 0;  // 在左边: "at the left"; 附近有…: the topic
  if (AfterPlease(at) && HasVerbSense(word.entry->value)) return false;  // 请随时联系: an order
  if (tag.starts_with('v')) return !HasVerbSense(word.entry->value);
  if (tag.starts_with('n') || tag == "s" || tag == "an" || tag == "eng") return true;
  constexpr std::string_view kNotNouns = "vadpcufqmry";
  return tag != "t" && (tag.empty() || kNotNouns.find(tag.front()) == std::string_view::npos) &&
         !Sense(word.entry->value, false).empty() && !word.entry->value.starts_with("to ");
}
// 请 + (adverbs) + at.
bool Chunker::AfterPlease(std::size_t at) const {
  while (at > 0 && Tag(at - 1).starts_with('d')) --at;
  return at > 0 && Text(at - 1) == "请";
}
bool Chunker::IsAdjective(std::size_t at) const { return Tag(at).starts_with('a') && !IsFunctionWord(at); }
bool Chunker::IsVerb(std::size_t at) const {
  if (at >= m_words.size() || !m_words[at].entry || IsFunctionWord(at)) return false;
  const std::string_view senses = m_words[at].entry->value;
  return HasVerbSense(senses) && (Tag(at).starts_with('v') || !HasOtherSense(senses));
}

std::string Chunker::NounEnglish(std::size_t at) const {
  const ClauseWord& word = m_words[at];
  if (!word.entry) return std::string(word.text);
  std::string english = Sense(word.entry->value, false);
  // A language is its name: "Chinese language" → "Chinese".
  if (english.ends_with(" language") && std::isupper(static_cast<unsigned char>(english.front())))
    english.resize(english.size() - std::string_view(" language").size());
  // A place name is its capitalised words: "Beijing municipality" → "Beijing".
  if (Tag(at).starts_with("ns") && !english.empty() && std::isupper(static_cast<unsigned char>(english.front()))) {
    for (std::size_t blank = english.find(' '); blank != std::string::npos; blank = english.find(' ', blank + 1)) {
      if (blank + 1 < english.size() && std::islower(static_cast<unsigned char>(english[blank + 1]))) {
        english.resize(blank);
        break;
      }
    }
  }
  return english;
}

// A measure word at `at` before the noun after it, or one standing for its noun.
bool Chunker::IsMeasure(std::size_t at) const {
  if (at >= m_words.size() || !m_words[at].entry) return false;
  if (Tag(at) == "q" || ChineseClosedWord(Text(at), WordClass::Container) || Text(at) == "点") return true;
  // The classifier of the noun that follows, perhaps after an adjective (三本新书).
  for (std::size_t noun = at + 1; noun < std::min(at + 3, m_words.size()); ++noun) {
    if (m_words[noun].entry && m_words[noun].entry->measure == Text(at)) return true;
  }
  // A word with a classifier sense between a number or determiner and a noun (这起事故, 这趟火车).
  return (IsNoun(at + 1) || IsAdjective(at + 1)) && HasMeasureSense(m_words[at].entry);
}

// The end of a run of numeral words starting at `at` (== at when none).
std::size_t Chunker::NumberEnd(std::size_t at) const {
  std::size_t end = at;
  while (end < m_words.size() && m_words[end].han && NumberValue(m_words[end].text)) ++end;
  return end;
}

}  // namespace chinese_rules

std::vector<EnglishWord> TranslateChineseClause(const DictionaryIndex& index, const std::vector<ClauseWord>& words,
                                                bool question, RuleTrace* trace) {
  // 分句 + 的时候 → when + clause.
  const std::size_t size = words.size();
  const bool when =
      size > 2 && (words[size - 1].text == "时候" || words[size - 1].text == "时") && words[size - 2].text == "的";
  if (!when)
    return chinese_rules::WriteEnglishClause(chinese_rules::Chunker(index, words, trace).Run(), question, trace);
  Fire(trace, "clause + 的时候: when + clause");
  const std::vector<ClauseWord> clause(words.begin(), words.end() - 2);
  std::vector<EnglishWord> english{{"when", false}};
  for (EnglishWord& word :
       chinese_rules::WriteEnglishClause(chinese_rules::Chunker(index, clause, trace).Run(), question, trace)) {
    english.push_back(std::move(word));
  }
  return english;
}

}  // namespace parlavo::server
