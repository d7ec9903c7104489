// The chunk stage's phrases led by a preposition or closed by a postposition,
// and its questions, Chinese → English: 在/从/到 + place or time, 比 + noun,
// time + 之前/以后, 几点, and A不A read as a yes/no question (rules of
// kWordRules, a phrase rule of the chunk loop, and the clause's first pass).

#include "dictionary/chinese_rules.h"
#include "text/utf8.h"

namespace parlavo::server::chinese_rules {

namespace {

constexpr std::string_view kNo = "不";

bool IsDemonstrativePlace(std::string_view text) {
  return text == "这里" || text == "这儿" || text == "那里" || text == "那儿";
}

}  // namespace

// 有没有/去不去 + … → a yes/no question on the word (是否 + verb too): the
// denied copy is dropped. One pass over the clause before chunking; says
// whether the clause asks.
bool Chunker::AskedByChoice() {
  std::vector<ClauseWord> words;
  std::vector<bool> function;
  words.reserve(m_words.size());
  function.reserve(m_words.size());
  bool asked = false;
  for (std::size_t at = 0; at < m_words.size(); ++at) {
    const std::string_view word = Text(at), next = Text(at + 1);
    words.push_back(m_words[at]);
    function.push_back(IsFunctionWord(at));
    if (word == next && IsVerb(at) && CountCodePoints(word) == 1) {
      Fired("verb + same verb: the verb");  // 帮帮我, 试试: "help me"
      ++at;
      continue;
    }
    if (word == "是否") {
      Fired("是否 + verb: yes/no question");
      words.pop_back();
      function.pop_back();
      asked = true;
      continue;
    }
    if (word.empty() || !m_words[at].entry) continue;
    // 有没有 held as one word: the word before the negator.
    for (std::string_view no : {kNo, std::string_view("没")}) {
      const std::size_t half = (word.size() - no.size()) / 2;
      if (word.size() > no.size() && word.substr(half, no.size()) == no &&
          word.substr(0, half) == word.substr(half + no.size())) {
        if (const auto entry = m_index.Chinese(word.substr(0, half))) {
          Fired("A 不 A: yes/no question");
          words.back() = {word.substr(0, half), entry, true};
          function.back() = false;
          asked = true;
          break;
        }
      }
    }
    const bool twoWords = (next == kNo || next == "没") && Text(at + 2) == word;
    const bool joined = (next.starts_with(kNo) || next.starts_with("没")) && next.size() > kNo.size() &&
                        next.substr(kNo.size()) == word;
    if (twoWords || joined) {
      Fired("A 不 A: yes/no question");
      at += twoWords ? 2 : 1;
      asked = true;
    }
  }
  m_words = std::move(words);
  m_functionWords = std::move(function);
  return asked;
}

// 在/从/到/离 + 这里/那里 → here/there, from here, to there.
bool Chunker::HereThere(const ClauseWord& word, Chunk& chunk) {
  const ClosedClassWord* preposition = ChineseClosedWord(word.text, WordClass::Preposition);
  if (!preposition || !IsDemonstrativePlace(Text(m_at))) return false;
  chunk.role = Role::Place;
  const std::string_view where = Text(m_at++).starts_with("这") ? "here" : "there";
  chunk.english = (word.text == "在" ? "" : std::string(preposition->english) + ' ') + std::string(where);
  return true;
}

// 在 + 地方 (+ 里/上) → in/at/on the place, after the English verb.
bool Chunker::PlacePhrase(const ClauseWord& word, Chunk& chunk) {
  const ClosedClassWord* preposition = ChineseClosedWord(word.text, WordClass::Preposition);
  if (!preposition) return false;
  chunk.role = Role::Place;
  m_inPlace = true;
  auto place = NounPhrase();
  m_inPlace = false;
  // 到 + 地方, not after a verb nor before one, is the verb: 我刚到家 → "I just arrive at home".
  const bool arrive = word.text == "到" && place && place->role == Role::Noun && !IsVerb(m_at) &&
                      (m_chunks.empty() || (m_chunks.back().role != Role::Verb && m_chunks.back().role != Role::Place));
  if (arrive) {
    Fired("到 + place: arrive at place");
    Chunk verb;
    verb.role = Role::Verb;
    verb.english = "arrive";
    verb.chinese = "到";
    m_chunks.push_back(std::move(verb));
    chunk.english = (place->proper ? "in " : "at ") + WithArticle(*place, "");
    return true;
  }
  std::string english(preposition->english);
  const std::size_t placeEnd = m_at;
  if (!place) place = NumberPhrase();
  // 到/从 + 下午, 明天: a time word of its own (推迟到下午 → "until the afternoon").
  if (!place && Tag(m_at) == "t" && HasOtherSense(Senses(m_at)) && Tag(m_at + 1) != "t" &&
      NumberEnd(m_at + 1) == m_at + 1) {
    const std::string time = Sense(Senses(m_at++), false);
    const bool partOfDay = time.ends_with("morning") || time == "afternoon" || time == "evening";
    Fired("从/到 + time: from/to + time");
    chunk.role = Role::Time;
    chunk.english = word.text == "在" ? time  // said as any time word: "in the afternoon"
                                      : (word.text == "到" ? "until" : english) + (partOfDay ? " the " : " ") + time;
    return true;
  }
  // 从 + 时间 → from + time (从九点开始 → starts from nine o'clock); 在 + 时间 keeps its own.
  if (place && place->role == Role::Time) {
    Fired("从/到 + time: from/to + time");
    for (std::string_view own : {"at ", "on ", "in "}) {
      if (word.text != "在" && place->english.starts_with(own)) place->english.erase(0, own.size());
    }
    if (word.text != "在") place->english = english + ' ' + place->english;
    chunk = std::move(*place);
    return true;
  }
  if (!place || place->role != Role::Noun) {
    m_at = placeEnd;  // a number that is no time is read again on its own
    chunk.english = english;
    return true;
  }
  if (const ClosedClassWord* locative = ChineseClosedWord(Text(m_at), WordClass::Locative)) {
    if (word.text == "在") english = locative->english;
    ++m_at;
  } else if (word.text == "在" && place->proper) {
    english = "in";
  }
  if (place->question) {
    chunk.english = place->english;  // 在哪里: "where"
    chunk.question = true;
  } else {
    chunk.english = english + ' ' + WithArticle(*place, "the");
  }
  return true;
}

// 比 + 名词 + 形容词 → comparative + than + noun (比昨天冷 → colder than yesterday).
bool Chunker::Comparison(const ClauseWord& word, Chunk& chunk) {
  if (word.text != "比") return false;
  const ClosedClassWord* pronoun = ChineseClosedWord(Text(m_at), WordClass::Pronoun);
  std::optional<Chunk> other = pronoun ? std::nullopt : NounPhrase();
  std::string english = pronoun ? std::string(pronoun->object) : other ? WithArticle(*other, "the") : "";
  const bool single = !other && !pronoun && m_at < m_words.size() && m_words[m_at].entry;  // 比以前: "than before"
  if (single) english = Sense(Senses(m_at), false);
  if (english.empty()) return false;
  if (pronoun || single) ++m_at;
  chunk.role = Role::Place;
  chunk.english = "than " + english;
  chunk.comparison = true;
  return true;
}

// 几点/什么时候 + 动词 → what time/when leads the question.
bool Chunker::TimeQuestion(const ClauseWord& word, Chunk& chunk) {
  const ClosedClassWord* question = ChineseClosedWord(word.text, WordClass::QuestionWord);
  if (question && Text(m_at) == "时候") {
    question = ChineseClosedWord("什么时候", WordClass::QuestionWord);  // written as two words
    ++m_at;
  }
  if (!question || !IsTimeQuestion(*question)) return false;
  chunk.role = Role::Place;  // asked like 在哪里: the question word leads
  chunk.question = true;
  chunk.english = question->english;
  return true;
}

// (在) + 时间/名词 + 之前/以后/以内 → before/after/within + phrase (在周五之前 → before Friday).
std::optional<Chunk> Chunker::Postposed() {
  // Only where a postposition is near: the phrase is read once more otherwise.
  const ClosedClassWord* post = nullptr;
  for (std::size_t at = m_at + 1; at < std::min(m_at + 6, m_words.size()) && !post; ++at)
    post = ChineseClosedWord(Text(at), WordClass::Postposition);
  if (!post) return std::nullopt;
  const std::size_t start = m_at;
  const std::size_t traced = m_trace ? m_trace->rules().size() : 0;
  if (Text(m_at) == "在") ++m_at;
  const bool time = Tag(m_at) == "t";
  std::optional<Chunk> phrase = NumberPhrase();
  const bool counted = phrase.has_value() || time;
  if (!phrase && time) {
    phrase = Chunk{};
    phrase->english = Sense(Senses(m_at), false);
    phrase->proper = true;
    ++m_at;
  }
  if (!phrase) phrase = NounPhrase();
  post = ChineseClosedWord(Text(m_at), WordClass::Postposition);
  // 在公园内 is a place; 门前 in front of a thing: only a time or number takes 前/后 alone.
  const bool oneCharacter = post && CountCodePoints(post->chinese) == 1;
  if (!phrase || !post || (start != m_at && Text(start) == "在" && post->english == "within" && oneCharacter) ||
      (oneCharacter && !counted)) {
    m_at = start;
    if (m_trace) m_trace->Truncate(traced);
    return std::nullopt;
  }
  ++m_at;
  Fired("time + 之前/以后/以内: before/after/within + time");
  std::string english = phrase->role == Role::Noun ? WithArticle(*phrase, "the") : phrase->english;
  for (std::string_view preposition : {"on ", "at ", "in "}) {
    if (english.starts_with(preposition)) english.erase(0, preposition.size());
  }
  Chunk chunk;
  chunk.role = Role::Time;
  chunk.english = std::string(post->english) + ' ' + english;
  chunk.chinese = JoinedText(start, m_at);
  return chunk;
}

}  // namespace parlavo::server::chinese_rules
