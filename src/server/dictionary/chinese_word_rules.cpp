// The chunk stage's single words, Chinese → English: every word that does not
// begin a noun phrase is given its role by the first rule of kWordRules that
// takes it.

#include "dictionary/chinese_clause_writer.h"
#include "dictionary/chinese_rules.h"

namespace parlavo::server::chinese_rules {

namespace {

constexpr std::string_view kNo = "不";

// 找不到, 做不完: the result a verb cannot reach.
bool IsResult(std::string_view c) { return c == "到" || c == "了" || c == "动" || c == "完" || c == "懂" || c == "开"; }

}  // namespace

const NamedRule<Chunker::WordRule> Chunker::kWordRules[] = {
    {"unknown word kept", &Chunker::Unknown},
    {"copula 是", &Chunker::Copula},
    {"没有 + noun: have no", &Chunker::HaveNo},
    {"negation", &Chunker::Negation},
    {"在 + verb: progressive", &Chunker::Progressive},
    {"在这里: here", &Chunker::HereThere},
    {"比 + noun: than noun", &Chunker::Comparison},
    {"几点/什么时候: what time/when", &Chunker::TimeQuestion},
    {"在 + place", &Chunker::PlacePhrase},
    {"grammar adverb", &Chunker::GrammarAdverb},
    {"已经: perfect", &Chunker::Already},
    {"了: done", &Chunker::Done},
    {"请: please", &Chunker::Please},
    {"modal", &Chunker::ModalVerb},
    {"想/要: want", &Chunker::Want},
    {"多/少 + verb: verb more/less", &Chunker::MoreOrLess},
    {"degree", &Chunker::DegreeWord},
    {"clause joiner", &Chunker::ClauseJoiner},
    {"time word", &Chunker::TimeWord},
    {"particle", &Chunker::Particle},
    {"adjective + 一点: a little + comparative", &Chunker::ALittleMore},
    {"很/不 + adjective", &Chunker::DescribedAfterDegree},
    {"subject + state", &Chunker::StateAfterSubject},
    {"verb", &Chunker::VerbWord},
    {"adjective", &Chunker::AdjectiveWord},
    {"adverb", &Chunker::AdverbWord},
    {"other word", &Chunker::AnyWord},
};

Chunk Chunker::Single() {
  ClauseWord word = m_words[m_at++];
  if (Chunk negation; word.han && NegatedWord(word, negation)) {
    Fired("不/没 + word: negation first");
    const std::string_view rest = word.text.substr(kNo.size());
    // 不要 + verb: "do not" (a prohibition), 要 says nothing more.
    if (rest == "要" && (IsVerb(m_at) || Text(m_at) == "在")) return negation;
    m_chunks.push_back(std::move(negation));
    word = {rest, m_index.Chinese(rest), true};
  }
  Chunk chunk;
  chunk.chinese = word.text;
  for (const auto& rule : kWordRules) {
    if ((this->*rule.apply)(word, chunk)) {
      Fired(rule.name);
      break;
    }
  }
  return chunk;
}

Chunk Chunker::NegationChunk(bool past) {
  Chunk chunk;
  chunk.role = Role::Negation;
  chunk.past = past;
  chunk.english = "not";
  chunk.chinese = past ? "没" : "不";
  return chunk;
}

// 不是, 不能, 没有 … written as one word → the negation, then the word.
bool Chunker::NegatedWord(const ClauseWord& word, Chunk& chunk) {
  for (std::string_view negation : {"不", "没"}) {
    if (!word.text.starts_with(negation)) continue;
    const std::string_view rest = word.text.substr(negation.size());
    if (rest == "是" || rest == "能" || rest == "会" || rest == "可以" || rest == "要" || rest == "想") {
      chunk = NegationChunk(negation == "没");
      return true;
    }
  }
  return false;
}

// 生词 → kept as written.
bool Chunker::Unknown(const ClauseWord& word, Chunk& chunk) {
  if (word.entry) return false;
  chunk.english = word.text;
  chunk.kept = !word.han;
  return true;
}

// 是 → be.
bool Chunker::Copula(const ClauseWord& word, Chunk& chunk) {
  if (word.text != "是") return false;
  chunk.role = Role::Copula;
  return true;
}

// 没有 + 名词 → have no.
bool Chunker::HaveNo(const ClauseWord& word, Chunk& chunk) {
  if (word.text != "没有" || IsVerb(m_at) || IsAdjective(m_at) || ChineseClosedWord(Text(m_at), WordClass::Modal)) {
    return false;
  }
  chunk.role = Role::Verb;
  chunk.english = "have";
  m_chunks.push_back(NegationChunk(false));
  return true;
}

// 不/没/没有/别/未 → not (没 and 未 deny what happened).
bool Chunker::Negation(const ClauseWord& word, Chunk& chunk) {
  const ClosedClassWord* negator = ChineseClosedWord(word.text, WordClass::Negator);
  if (!negator) return false;
  chunk.role = Role::Negation;
  chunk.english = negator->english;
  chunk.past = negator->flags & kPast;
  return true;
}

// 正在/在 + 动词 → be + -ing.
bool Chunker::Progressive(const ClauseWord& word, Chunk& chunk) {
  if (word.text != "正在" &&
      !(word.text == "在" && (IsVerb(m_at) || ChineseClosedWord(Text(m_at), WordClass::Modal)))) {
    return false;
  }
  chunk.role = Role::Progressive;
  return true;
}

// 也/还/再/都 → also/still/again/(unsaid).
bool Chunker::GrammarAdverb(const ClauseWord& word, Chunk& chunk) {
  const ClosedClassWord* adverb = ChineseClosedWord(word.text, WordClass::Adverb);
  if (!adverb) return false;
  chunk.role = Role::Adverb;
  chunk.english = adverb->english;
  return true;
}

// 已经/已 + 动词 → has + participle.
bool Chunker::Already(const ClauseWord& word, Chunk& chunk) {
  if (word.text != "已经" && word.text != "已") return false;
  chunk.role = Role::Already;
  return true;
}

// 动词 + 了 → past.
bool Chunker::Done(const ClauseWord& word, Chunk& chunk) {
  if (word.text != "了") return false;
  chunk.role = Role::Done;
  return true;
}

// 请 → please.
bool Chunker::Please(const ClauseWord& word, Chunk& chunk) {
  if (word.text != "请") return false;
  chunk.role = Role::Please;
  chunk.english = "please";
  return true;
}

// 能/可以/应该/可能 + (不) + 动词 → can/should/might (not) + verb; alone, the verb's own sense.
bool Chunker::ModalVerb(const ClauseWord& word, Chunk& chunk) {
  const ClosedClassWord* modal = ChineseClosedWord(word.text, WordClass::Modal);
  if (!modal) return false;
  const std::string_view next = Text(m_at);
  if (IsVerb(m_at) || IsAdjective(m_at) || ChineseClosedWord(next, WordClass::Modal) ||
      ChineseClosedWord(next, WordClass::Negator) ||
      ChineseClosedWord(next, WordClass::Adverb) || next == "在" || next == "是") {
    chunk.role = Role::Modal;
    chunk.english = modal->english;
  } else {
    chunk.role = Role::Verb;
    chunk.english = Sense(word.entry->value, true);
  }
  return true;
}

// 想/要 + 动词 → want to + verb; 要 + 名词 → want + noun.
bool Chunker::Want(const ClauseWord& word, Chunk& chunk) {
  if (word.text != "想" && word.text != "要") return false;
  chunk.role = Role::Verb;
  chunk.english = IsVerb(m_at) || Text(m_at) == "去" ? "want to" : "want";
  return true;
}

// 多/少 + 动词 → verb + more/less (多喝水 → drink more water).
bool Chunker::MoreOrLess(const ClauseWord& word, Chunk& chunk) {
  const std::size_t object = Text(m_at + 1) == "了" ? m_at + 2 : m_at + 1;
  if ((word.text != "多" && word.text != "少") || !IsVerb(m_at) || NumberEnd(object) > object) {
    return false;  // 多买了两本: "two more", not said here
  }
  chunk = Single();
  chunk.english += word.text == "多" ? " more" : " less";
  return true;
}

// 很/太/最 → very/too/most.
bool Chunker::DegreeWord(const ClauseWord& word, Chunk& chunk) {
  const ClosedClassWord* degree = ChineseClosedWord(word.text, WordClass::Degree);
  if (!degree) return false;
  chunk.role = Role::Degree;
  chunk.english = degree->english;
  return true;
}

// 但是/因为/如果 + 分句 → but/because/if + clause.
bool Chunker::ClauseJoiner(const ClauseWord& word, Chunk& chunk) {
  const ClosedClassWord* conjunction = ChineseClosedWord(word.text, WordClass::Conjunction);
  if (!conjunction || word.text == "和" || !m_chunks.empty()) return false;
  chunk.role = Role::Conjunction;
  chunk.english = conjunction->english;
  return true;
}

// 今天/明天 … → a time, at the end of the English clause.
bool Chunker::TimeWord(const ClauseWord& word, Chunk& chunk) {
  if (word.entry->tag != "t" || !HasOtherSense(word.entry->value)) return false;  // 过期: "to expire"
  chunk.role = Role::Time;
  chunk.english = Sense(word.entry->value, false);
  return true;
}

// 吗/呢/吧/的/们, 里/上 … → their work is done by other rules.
bool Chunker::Particle(const ClauseWord& word, Chunk& chunk) {
  if (!ChineseClosedWord(word.text, WordClass::Particle) && !ChineseClosedWord(word.text, WordClass::Locative) &&
      !word.entry->value.empty()) {
    return false;
  }
  chunk.role = Role::Other;
  return true;
}

// 很/不 + 形容词 → very/not + adjective ("很忙": "very busy").
bool Chunker::DescribedAfterDegree(const ClauseWord& word, Chunk& chunk) {
  const std::string_view tag = word.entry->tag;
  if (m_chunks.empty() || !HasOtherSense(word.entry->value) ||
      !((m_chunks.back().role == Role::Degree && !tag.starts_with('n')) ||
        (m_chunks.back().role == Role::Negation && tag.starts_with('a')))) {
    return false;
  }
  chunk.role = Role::Adjective;
  chunk.english = Sense(word.entry->value, false);
  return true;
}

// 主语 + 饿 + (了) → subject + be + hungry.
bool Chunker::StateAfterSubject(const ClauseWord& word, Chunk& chunk) {
  if (!word.entry->tag.starts_with('v') || word.entry->value.starts_with("to ") || m_chunks.empty() ||
      m_chunks.back().role != Role::Noun || !(m_at == m_words.size() || Text(m_at) == "了")) {
    return false;
  }
  chunk.role = Role::Adjective;
  chunk.english = Sense(word.entry->value, false);
  return true;
}

// 动词 → verb; 动词 + 不 + 结果 → cannot + verb (找不到); 叫 + 名字 → be called.
bool Chunker::VerbWord(const ClauseWord& word, Chunk& chunk) {
  // 请 (+ adverb) + verb: an order, whatever jieba calls the word.
  bool afterPlease = false;
  for (auto chunk = m_chunks.rbegin(); chunk != m_chunks.rend() && !afterPlease; ++chunk) {
    if (chunk->role != Role::Adverb) {
      afterPlease = chunk->role == Role::Please;
      break;
    }
  }
  if (!IsVerb(m_at - 1) && !(word.entry->tag.starts_with('v') && word.text != m_words[m_at - 1].text) &&
      !(afterPlease && HasVerbSense(word.entry->value))) {
    return false;
  }
  chunk.role = Role::Verb;
  chunk.english = Sense(word.entry->value, true);
  CausativeSense(word, chunk);
  const std::string_view after = Text(m_at);
  const bool joined = after.starts_with(kNo) && IsResult(after.substr(kNo.size()));
  if (after == "过") {
    Fired("verb + 过: have + participle");  // 我去过北京: "I have been to Beijing"
    Chunk ever;
    ever.role = Role::Already;
    ever.chinese = "过";
    m_chunks.push_back(std::move(ever));
    ++m_at;
  }
  if ((after == kNo && IsResult(Text(m_at + 1))) || joined) {
    Fired("verb + 不 + result: cannot");
    m_chunks.push_back(NegationChunk(false));
    Chunk can;
    can.role = Role::Modal;
    can.english = "can";
    can.chinese = "能";
    m_chunks.push_back(std::move(can));
    m_at += joined ? 1 : 2;
  }
  if (word.text == "叫" && m_at < m_words.size() &&
      (!m_words[m_at].entry || Tag(m_at).starts_with("nr") || ChineseClosedWord(Text(m_at), WordClass::QuestionWord) ||
       ChineseClosedWord(Text(m_at), WordClass::Surname) || ChineseClosedWord(Text(m_at), WordClass::Title) ||
       ChineseClosedWord(Text(m_at), WordClass::Determiner))) {
    chunk.english = "be called";
  }
  return true;
}

// 让/叫 + 人 + 动词 → let/have + person + verb: the sense the dictionary gives for "sb do sth".
void Chunker::CausativeSense(const ClauseWord& word, Chunk& chunk) {
  if (!(ChineseClosedWord(Text(m_at), WordClass::Pronoun) || IsNoun(m_at)) || !IsVerb(m_at + 1)) return;
  for (std::string_view senses = word.entry->value; !senses.empty();) {
    const auto slash = senses.find('/');
    const std::string_view sense = senses.substr(0, slash);
    if (sense.starts_with("to ") && sense.find(" sb do sth") != std::string_view::npos) {
      Fired("verb + person + verb: causative sense");
      chunk.english = Sense(sense, true);
      chunk.causative = true;
      return;
    }
    senses.remove_prefix(slash == std::string_view::npos ? senses.size() : slash + 1);
  }
}

// 形容词 + 一点/一些 → a little + comparative (便宜一点 → a little cheaper).
bool Chunker::ALittleMore(const ClauseWord& word, Chunk& chunk) {
  if (!word.entry->tag.starts_with('a') || (Text(m_at) != "一点" && Text(m_at) != "一些")) return false;
  ++m_at;
  chunk.role = Role::Adjective;
  chunk.english = "a little " + Comparative(Sense(word.entry->value, false));
  return true;
}

// 形容词 → adjective; 副形词 → adverb.
bool Chunker::AdjectiveWord(const ClauseWord& word, Chunk& chunk) {
  if (!word.entry->tag.starts_with('a')) return false;
  chunk.role = word.entry->tag == "ad" ? Role::Adverb : Role::Adjective;
  chunk.english = Sense(word.entry->value, false);
  return true;
}

// 副词 → adverb.
bool Chunker::AdverbWord(const ClauseWord& word, Chunk& chunk) {
  if (!word.entry->tag.starts_with('d')) return false;
  chunk.role = Role::Adverb;
  chunk.english = Sense(word.entry->value, false);
  return true;
}

// Anything else: its first sense.
bool Chunker::AnyWord(const ClauseWord& word, Chunk& chunk) {
  chunk.english = Sense(word.entry->value, word.entry->tag.starts_with('v'));
  return true;
}

}  // namespace parlavo::server::chinese_rules
