// The chunk stage's noun phrases, Chinese → English:
// [possessor 的] [determiner] [number [measure]] [adjective [的]] noun+ [们].
// Each rule takes what it recognises at the front and leaves the rest to the
// rules after it, in the order of kNounRules.

#include "dictionary/chinese_rules.h"
#include "dictionary/chinese_segmenter.h"
#include "dictionary/english_morphology.h"
#include "text/utf8.h"

namespace parlavo::server::chinese_rules {

struct Chunker::NounState {
  std::size_t start = 0;
  Chunk chunk;
  std::vector<std::string> front;  // determiners and modifiers, in order
  std::vector<std::string> nouns;
  std::string container;
  bool numbered = false;
};

namespace {

// The possessive that stands alone: my → mine, her → hers, his → his.
std::string Independent(std::string_view possessive) {
  if (possessive == "my") return "mine";
  if (possessive.ends_with('s')) return std::string(possessive);
  return std::string(possessive) + 's';
}

}  // namespace

const NamedRule<Chunker::NounRule> Chunker::kNounRules[] = {
    {"pronoun", &Chunker::PronounAlone},
    {"time possessor", &Chunker::TimePossessor},
    {"many", &Chunker::Many},
    {"determiner", &Chunker::Determiner},
    {"number and measure", &Chunker::NumberAndMeasure},
    {"determiner and measure", &Chunker::DeterminerMeasure},
    {"modifiers and nouns", &Chunker::ModifiersAndNouns},
    {"plural 们", &Chunker::PluralMen},
};

std::optional<Chunk> Chunker::NounPhrase() {
  NounState state;
  state.start = m_at;
  state.chunk.role = Role::Noun;
  const std::size_t traced = m_trace ? m_trace->rules().size() : 0;
  for (const auto& rule : kNounRules) {
    const Outcome outcome = (this->*rule.apply)(state);
    if (outcome != Outcome::Skipped) Fired(rule.name);
    if (outcome == Outcome::Finished) return std::move(state.chunk);
  }
  auto chunk = Finish(state);
  if (!chunk && m_trace) m_trace->Truncate(traced);  // no noun phrase after all
  return chunk;
}

// 代词/名词 + 动词 + 的 + 名词 → the noun that + subject + verb (我买的书 → the book that I buy).
std::optional<Chunk> Chunker::RelativeClause() {
  const std::size_t start = m_at;
  const ClosedClassWord* pronoun = ChineseClosedWord(Text(m_at), WordClass::Pronoun);
  if ((!pronoun && !IsNoun(m_at)) || !IsVerb(m_at + 1) || Text(m_at + 2) != "的" || !IsNoun(m_at + 3)) {
    return std::nullopt;
  }
  const std::string subject = pronoun ? std::string(pronoun->english) : NounEnglish(m_at);
  const bool third = pronoun ? PersonOf(*pronoun) == Person::Third : true;
  const std::string verb =
      InflectVerb(Sense(Senses(m_at + 1), true), third ? Inflection::ThirdPerson : Inflection::None);
  m_at += 3;
  auto noun = NounPhrase();
  if (!noun) {
    m_at = start;
    return std::nullopt;
  }
  Fired("clause + 的 + noun: noun that clause");
  noun->english = CountedBefore() + noun->english + " that " + (pronoun || !IsNoun(start) ? subject : "the " + subject) +
                  ' ' + verb;
  noun->determined = true;
  noun->chinese = JoinedText(start, m_at);
  return noun;
}

// 动词 + 宾语 + 的 + 名词 → the noun that verb object (去机场的公共汽车 → the bus that goes to the airport).
std::optional<Chunk> Chunker::DoerClause() {
  if (!IsVerb(m_at) || !IsNoun(m_at + 1) || Text(m_at + 2) != "的" || !IsNoun(m_at + 3) ||
      ChineseClosedWord(Text(m_at + 1), WordClass::Pronoun)) {
    return std::nullopt;
  }
  const std::size_t start = m_at;
  const std::string verb = Sense(Senses(m_at), true);
  const std::string object = NounEnglish(m_at + 1);
  const bool objectProper = !m_words[m_at + 1].entry || Tag(m_at + 1).starts_with("nr") || Tag(m_at + 1).starts_with("ns");
  m_at += 3;
  auto noun = NounPhrase();
  if (!noun) {
    m_at = start;
    return std::nullopt;
  }
  Fired("verb + object + 的 + noun: noun that verb object");
  const bool motion = verb == "go" || verb == "come" || verb == "return";
  noun->english = CountedBefore() + noun->english + " that " +
                  InflectVerb(verb, noun->plural ? Inflection::None : Inflection::ThirdPerson) +
                  (motion ? " to " : " ") + (objectProper ? object : "the " + object);
  noun->determined = true;
  noun->chinese = JoinedText(start, m_at);
  return noun;
}

// 一张 + clause + 的 + noun: the number read before the clause counts the
// noun ("a ticket that …"); otherwise "the".
std::string Chunker::CountedBefore() {
  if (m_chunks.empty() || m_chunks.back().role != Role::Noun || !m_chunks.back().counted ||
      m_chunks.back().english.find(' ') != std::string::npos) {
    return "the ";
  }
  std::string count = std::move(m_chunks.back().english) + ' ';
  m_chunks.pop_back();
  return count;
}

// 把 + 名词 + 动词 → verb + noun (我把书放在桌上 → I put the book on the table).
std::optional<Chunk> Chunker::Ba() {
  if (Text(m_at) != "把" || m_at + 2 >= m_words.size()) return std::nullopt;
  const std::size_t start = m_at++;
  auto object = NounPhrase();
  if (!object || m_at >= m_words.size() || !IsVerb(m_at)) {
    m_at = start;
    return std::nullopt;
  }
  Fired("把 + noun + verb: verb + noun");
  m_chunks.push_back(Single());
  if (!object->pronoun) object->english = WithArticle(*object, "the");  // a thing both sides know
  object->determined = true;
  return object;
}

// 被 + (名词) + 动词 → be + participle (+ by + noun) (书被他拿走了 → the book was taken away by him).
std::optional<Chunk> Chunker::Bei() {
  if (Text(m_at) != "被") return std::nullopt;
  const std::size_t start = m_at++;
  std::optional<Chunk> agent = IsVerb(m_at) ? std::nullopt : NounPhrase();
  if (!IsVerb(m_at)) {
    m_at = start;
    return std::nullopt;
  }
  Fired("被 + noun + verb: be + participle + by noun");
  Chunk verb;
  verb.role = Role::Verb;
  verb.chinese = JoinedText(start, m_at + 1);
  verb.english = "be " + InflectVerb(Sense(Senses(m_at), true), Inflection::Participle);
  ++m_at;
  if (agent)
    verb.english += " by " + (agent->pronoun ? std::string(agent->pronoun->object) : WithArticle(*agent, "the"));
  verb.past = Text(m_at) == "了";
  return verb;
}

// 名词 + 和 + 名词 → noun and noun (我和他 → I and he), plural.
Chunk Chunker::Coordinated(Chunk first) {
  if (Text(m_at) != "和" && Text(m_at) != "跟" && Text(m_at) != "与") return first;
  const std::size_t start = m_at++;
  auto second = NounPhrase();
  if (!second) {
    m_at = start;
    return first;
  }
  Fired("noun + 和 + noun: noun and noun");
  const bool subject = m_chunks.empty();
  const auto english = [subject](const Chunk& noun) {
    if (!noun.pronoun) return WithArticle(noun, subject ? "the" : "");
    return std::string(subject ? noun.pronoun->english : noun.pronoun->object);
  };
  Chunk both;
  both.role = Role::Noun;
  both.english = english(first) + " and " + english(*second);
  both.plural = both.determined = true;
  both.chinese = first.chinese + JoinedText(start, m_at);
  return both;
}

// 代词 → pronoun; 代词 + 的 + 名词 → possessive + noun; 代词 + 亲属 → possessive + kin (我妈妈).
Chunker::Outcome Chunker::PronounAlone(NounState& state) {
  const ClosedClassWord* pronoun = ChineseClosedWord(Text(m_at), WordClass::Pronoun);
  if (!pronoun) return Outcome::Skipped;
  if (Text(m_at + 1) == "的" &&
      (IsNoun(m_at + 2) || IsAdjective(m_at + 2) || ChineseClosedWord(Text(m_at + 2), WordClass::Determiner) ||
       ChineseClosedWord(Text(m_at + 2), WordClass::QuestionWord))) {
    state.front.emplace_back(pronoun->possessive);
    state.chunk.determined = true;
    m_at += 2;
    return Outcome::Matched;
  }
  // 我们公司, 他们学校: a plural pronoun before a noun owns it.
  const bool plural = Text(m_at) == "你们" || ((pronoun->flags & kPlural) && pronoun->english != "you");
  if (IsNoun(m_at + 1) && Tag(m_at + 1).starts_with('n') && !Tag(m_at + 1).starts_with("nr") &&
      m_words[m_at + 1].entry && m_words[m_at + 1].entry->frequency > 0 &&
      (ChineseClosedWord(Text(m_at + 1), WordClass::Kinship) || plural)) {
    state.front.emplace_back(pronoun->possessive);
    state.chunk.determined = true;
    m_at += 1;
    return Outcome::Matched;
  }
  if (Text(m_at + 1) == "的" && m_at + 2 == m_words.size()) {
    Fired("pronoun + 的 alone: mine");  // 这本书是我的: "This book is mine"
    state.chunk.english = Independent(pronoun->possessive);
    state.chunk.determined = true;
    state.chunk.chinese = JoinedText(m_at, m_at + 2);
    m_at += 2;
    return Outcome::Finished;
  }
  state.chunk.pronoun = pronoun;
  state.chunk.english = pronoun->english;
  state.chunk.chinese = Text(m_at);
  ++m_at;
  return Outcome::Finished;
}

// 时间 + 的 + 名词 → time's + noun ("yesterday's meeting").
Chunker::Outcome Chunker::TimePossessor(NounState& state) {
  if (Tag(m_at) != "t" || Text(m_at + 1) != "的" || !IsNoun(m_at + 2)) return Outcome::Skipped;
  state.front.push_back(Sense(Senses(m_at), false) + "'s");
  state.chunk.determined = true;
  m_at += 2;
  return Outcome::Matched;
}

// 很多/非常多 + 名词 → many + noun.
Chunker::Outcome Chunker::Many(NounState& state) {
  if ((Text(m_at) != "很" && Text(m_at) != "非常") || Text(m_at + 1) != "多" || !IsNoun(m_at + 2)) {
    return Outcome::Skipped;
  }
  state.front.emplace_back("many");
  state.chunk.determined = state.chunk.plural = true;
  m_at += 2;
  return Outcome::Matched;
}

// 这/那/每/什么 … + 名词 → this/that/every/what … + noun.
Chunker::Outcome Chunker::Determiner(NounState& state) {
  const ClosedClassWord* determiner = ChineseClosedWord(Text(m_at), WordClass::Determiner);
  const ClosedClassWord* question = determiner ? nullptr : ChineseClosedWord(Text(m_at), WordClass::QuestionWord);
  if (!determiner && !question) return Outcome::Skipped;
  const ClosedClassWord& row = determiner ? *determiner : *question;
  // 几点, 什么时候: ask when, determine nothing.
  if (IsTimeQuestion(row) || (question && Text(m_at + 1) == "时候")) return Outcome::Skipped;
  if ((row.flags & kBeforeNoun) && !IsNoun(m_at + 1)) return Outcome::Skipped;
  state.front.emplace_back(row.english);
  state.chunk.determined = true;
  state.chunk.plural = row.flags & kPlural;
  state.chunk.question = question != nullptr;
  ++m_at;
  return Outcome::Matched;
}

// 数 + 量词 + 名词 → number + noun (一本书 → a book); 数 + 杯 + 名词 → number cups of noun.
Chunker::Outcome Chunker::NumberAndMeasure(NounState& state) {
  const std::size_t numberEnd = NumberEnd(m_at);
  // 一家 + 名词, held as one word ("the whole family"): one and a measure word.
  const std::string_view text = Text(m_at);
  if (numberEnd == m_at && Tag(m_at) == "m" && text.starts_with("一") && CountCodePoints(text) == 2 &&
      !IsChineseClosedWord(text) &&
      (IsNoun(m_at + 1) || IsAdjective(m_at + 1)) && HasMeasureSense(m_index.Chinese(text.substr(std::string_view("一").size())))) {
    Fired("一 + measure word held as one: a");
    state.front.emplace_back("a");
    state.chunk.determined = state.numbered = true;
    ++m_at;
    return Outcome::Matched;
  }
  if (numberEnd == m_at) return Outcome::Skipped;
  const auto parsed = NumberValue(JoinedText(m_at, numberEnd));
  if (!parsed) return Outcome::Skipped;  // too large to read as a number
  const double value = *parsed;
  m_at = numberEnd;
  if (IsMeasure(m_at)) {
    const std::string_view measure = Text(m_at);
    ++m_at;
    if (const ClosedClassWord* found = ChineseClosedWord(measure, WordClass::Container)) {
      state.container = value > 1 ? Plural(found->english) : std::string(found->english);
    } else if (measure == "点" && !IsNoun(m_at)) {
      state.container = "o'clock";
    }
  }
  state.front.push_back(value == 1 && state.container != "o'clock" ? "a" : EnglishNumber(value));
  state.chunk.plural = value > 1 && state.container != "o'clock";
  state.chunk.determined = state.numbered = true;
  return Outcome::Matched;
}

// 这 + 量词 + 名词 → this + noun (这本书 → this book).
Chunker::Outcome Chunker::DeterminerMeasure(NounState& state) {
  if (state.numbered || !state.chunk.determined || !IsMeasure(m_at) || !(IsNoun(m_at + 1) || IsAdjective(m_at + 1))) {
    return Outcome::Skipped;
  }
  ++m_at;
  return Outcome::Matched;
}

// 形容词 + 的 + 名词 → adjective + noun; 名词 + 的 + 名词 → noun's noun; 名词 + 名词 → noun noun.
Chunker::Outcome Chunker::ModifiersAndNouns(NounState& state) {
  const std::size_t before = m_at;
  std::size_t lastNoun = 0;
  while (m_at < m_words.size()) {
    if (IsAdjective(m_at) && Text(m_at + 1) == "的" && (IsNoun(m_at + 2) || IsAdjective(m_at + 2))) {
      state.front.push_back(Sense(Senses(m_at), false));
      m_at += 2;
    } else if (IsAdjective(m_at) && IsNoun(m_at + 1) && state.nouns.empty() && !Tag(m_at).starts_with("ad") &&
               CountCodePoints(Text(m_at)) == 1) {
      state.front.push_back(Sense(Senses(m_at), false));  // 新书: "new book"
      ++m_at;
    } else if (IsNoun(m_at) && !state.nouns.empty() && Text(m_at + 1) != "的" &&
               m_words[m_at].han != m_words[lastNoun].han) {
      break;  // kept text next to Chinese is a separate phrase
    } else if (IsNoun(m_at) && Tag(m_at) == "vn" && state.nouns.empty() && state.front.empty() && m_at > 0) {
      break;  // a verbal noun after a verb or adverb is the verb: "请检查", "不工作"
    } else if (IsNoun(m_at)) {
      if (Text(m_at + 1) == "的" && (IsNoun(m_at + 2) || IsAdjective(m_at + 2)) &&
          !ChineseClosedWord(Text(m_at + 2), WordClass::Pronoun)) {
        const bool properOwner = !m_words[m_at].entry || Tag(m_at).starts_with("nr") || Tag(m_at).starts_with("ns");
        state.nouns.push_back(NounEnglish(m_at));
        const std::string owner = JoinWords(state.nouns);
        state.nouns.clear();
        state.front.push_back((state.front.empty() && !properOwner ? "the " : "") + owner + "'s");
        state.chunk.determined = true;
        m_at += 2;
        continue;
      }
      if (!m_words[m_at].han || !m_words[m_at].entry || Tag(m_at).starts_with("nr") || Tag(m_at).starts_with("ns")) {
        state.chunk.proper = true;
      }
      state.nouns.push_back(NounEnglish(m_at));
      state.chunk.locative = Tag(m_at) == "s" || Tag(m_at) == "f";
      lastNoun = m_at;
      ++m_at;
    } else {
      break;
    }
  }
  return m_at > before ? Outcome::Matched : Outcome::Skipped;
}

// 名词 + 们 → plural noun.
Chunker::Outcome Chunker::PluralMen(NounState& state) {
  if (Text(m_at) != "们" || state.nouns.empty()) return Outcome::Skipped;
  state.chunk.plural = true;
  ++m_at;
  return Outcome::Matched;
}

// The phrase in English order: determiners, modifiers, nouns, the head last.
std::optional<Chunk> Chunker::Finish(NounState& state) {
  Chunk& chunk = state.chunk;
  bool counted = false;  // the measure word is the head and already counts: "three times"
  const bool headless = state.nouns.empty();
  if (state.nouns.empty()) {
    if (!state.container.empty() || (state.numbered && m_at > state.start)) {
      state.nouns.push_back(state.container);
      counted = !state.container.empty();
      state.container.clear();
    } else if (chunk.determined && m_at > state.start && state.front.size() == 1) {
      chunk.english = state.front.front();  // "这" alone: "this"
      return std::move(chunk);
    } else {
      m_at = state.start;
      return std::nullopt;
    }
  }
  std::string head = state.nouns.back();
  state.nouns.pop_back();
  if (chunk.plural && state.container.empty() && !head.empty() && !counted) head = Plural(head);
  if (!state.container.empty()) head = state.container + " of " + head;
  chunk.english = JoinWords(state.front);
  for (const std::string& noun : state.nouns) chunk.english += (chunk.english.empty() ? "" : " ") + noun;
  if (!head.empty()) chunk.english += (chunk.english.empty() ? "" : " ") + head;
  chunk.chinese = JoinedText(state.start, m_at);
  chunk.counted = state.numbered && headless;
  if (chunk.english.ends_with("o'clock")) {
    chunk.role = Role::Time;  // a clock time: "at nine o'clock"
    chunk.english = "at " + chunk.english;
  }
  return std::move(chunk);
}

}  // namespace parlavo::server::chinese_rules
