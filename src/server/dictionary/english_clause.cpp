#include "dictionary/english_clause.h"

#include <algorithm>

#include "dictionary/closed_class_words.h"
#include "dictionary/english_rules.h"
#include "text/ascii.h"

namespace parlavo::server {

namespace english_rules {

std::optional<std::pair<IndexWord, Inflection>> Lexicon::Lookup(std::string_view word, Reading reading) const {
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
std::optional<std::pair<IndexWord, Inflection>> Lexicon::Phrase(const std::vector<std::string>& words, std::size_t at,
                                                                std::size_t count) const {
  std::string rest;
  for (std::size_t w = at + 1; w < at + count; ++w) rest += ' ' + words[w];
  for (const WordForm& form : LookupForms(words[at])) {
    if (const auto entry = m_index.English(form.lemma + rest)) return std::pair{*entry, form.inflection};
  }
  // "interest rates": the plural of the last word.
  std::string front = words[at];
  for (std::size_t w = at + 1; w + 1 < at + count; ++w) front += ' ' + words[w];
  for (const WordForm& form : LookupForms(words[at + count - 1])) {
    if (form.inflection != Inflection::Plural) continue;
    if (const auto entry = m_index.English(front + ' ' + form.lemma)) return std::pair{*entry, form.inflection};
  }
  return std::nullopt;
}

}  // namespace english_rules

namespace {

// Verbs whose object is a clause: "I know that he is busy" → 我知道他很忙.
bool SaysOrThinks(std::string_view verb) {
  for (std::string_view word : {"know", "knew", "think", "thought", "say", "said", "says", "believe", "hope", "hear",
                                "heard", "feel", "felt", "sure", "mean"}) {
    if (verb == word) return true;
  }
  return false;
}

// "and" between a noun and a verb joins two predicates: "check your
// connection and try again" → 检查你的连接，再试; "go and eat" and "tea and
// coffee" stay one clause.
bool JoinsPredicates(const DictionaryIndex& index, const std::vector<ClauseToken>& words, std::size_t at) {
  if (at == 0 || at + 1 >= words.size() || EnglishClosedWord(words[at - 1].lookup)) return false;
  const english_rules::Lexicon lexicon(index);
  const auto before = lexicon.Lookup(words[at - 1].lookup, english_rules::Reading::Noun);
  const auto after = lexicon.Lookup(words[at + 1].lookup, english_rules::Reading::Verb);
  return before && before->first.tag.starts_with('n') && after && after->first.tag.starts_with('v');
}

// A subject pronoun after a verb or adjective begins the clause that is its
// object or cause: "I am sorry I am late", "I think she knows" (not after a
// noun: "the book I bought" is a relative clause).
bool SubjectAfterPredicate(const DictionaryIndex& index, const std::vector<ClauseToken>& words, std::size_t at) {
  const ClosedClassWord* pronoun = EnglishClosedWord(words[at].lookup, WordClass::Pronoun);
  if (!pronoun || ToLowerAscii(pronoun->english) != words[at].lookup || pronoun->object == words[at].lookup ||
      at + 1 >= words.size() || EnglishClosedWord(words[at - 1].lookup)) {
    return false;
  }
  const auto before = english_rules::Lexicon(index).Lookup(words[at - 1].lookup, english_rules::Reading::Any);
  return before && !before->first.tag.starts_with('n');
}

// A word that begins a clause of its own inside a sentence: "…, but he …",
// "… because it …", "… and she …" (and before a pronoun only: "tea and coffee" is one phrase).
bool JoinsClauses(const DictionaryIndex& index, const std::vector<ClauseToken>& words, std::size_t at) {
  const std::string& word = words[at].lookup;
  if (word == "that" && at + 1 < words.size() && SaysOrThinks(words[at - 1].lookup)) return true;
  if (SubjectAfterPredicate(index, words, at)) return true;
  if (word == "but" || word == "because" || word == "if" || word == "so" || word == "although" || word == "when") {
    return true;
  }
  if (word != "and" || at + 1 >= words.size()) return false;
  if (JoinsPredicates(index, words, at)) return true;
  const ClosedClassWord* next = EnglishClosedWord(words[at + 1].lookup, WordClass::Pronoun);
  return next && words[at + 1].lookup != "me" && words[at + 1].lookup != "us" && words[at + 1].lookup != "them";
}

}  // namespace

std::vector<ChinesePiece> TranslateEnglishClause(const DictionaryIndex& index, const std::vector<ClauseToken>& words,
                                                 bool question, RuleTrace* trace) {
  using namespace english_rules;
  std::vector<ChinesePiece> pieces;
  // 分句 + but/because + 分句 → 分句，但是/因为 + 分句: each clause in its own order.
  std::size_t start = 0;
  for (std::size_t end = 1; end <= words.size(); ++end) {
    if (end < words.size() && !JoinsClauses(index, words, end)) continue;
    const bool that = start > 0 && words[start].lookup == "that";
    const bool subject = start > 0 && !that && SubjectAfterPredicate(index, words, start);
    if (start > 0) {
      Fire(trace, that      ? "verb + that + clause: that unsaid"
                  : subject ? "predicate + subject pronoun: its clause follows"
                            : "clause + and/but/because + clause");
      if (that || subject) {
        if (that) ++start;
        if (!pieces.empty() && pieces.back().text == "了") pieces.pop_back();  // said that …: 说, not 说了
      } else {
        pieces.push_back({"，"});
      }
    }
    // when + 分句 → 分句 + 的时候, before the clause it times.
    const bool when = words[start].lookup == "when" && !question && end > start + 1;
    if (when) Fire(trace, "when + clause: clause 的时候, first");
    std::vector<ClauseToken> clause(words.begin() + static_cast<std::ptrdiff_t>(start + (when ? 1 : 0)),
                                    words.begin() + static_cast<std::ptrdiff_t>(end));
    std::vector<ChinesePiece> translated =
        ClauseBuilder(Classify(Lexicon(index), clause, trace), question, trace).Run();
    if (start > 0 && !translated.empty() && translated.front().text == "和" && !pieces.empty() &&
        pieces.back().text == "，") {
      translated.erase(translated.begin());
    }
    // 分句 + if + 分句 → 如果 + 分句，分句: the condition first. After know/say
    // "if" asks whether ("I don't know if he is in"), unless the knowing is
    // asked for ("let me know if …").
    const bool lateIf = start > 0 && words[start].lookup == "if" &&
                        (!SaysOrThinks(words[start - 1].lookup) || EnglishClosedWord(words[0].lookup, WordClass::Let));
    if (lateIf) Fire(trace, "clause + if + clause: the if-clause first");
    if (when) translated.push_back({"的时候"});
    if (when || lateIf) {
      if (start > 0 && !pieces.empty() && pieces.back().text == "，") {
        // I was asleep when he came: 他来的时候，我在睡觉.
        pieces.pop_back();
        translated.push_back({"，"});
        pieces.insert(pieces.begin(), translated.begin(), translated.end());
        start = end;
        continue;
      }
    }
    for (ChinesePiece& piece : translated) pieces.push_back(std::move(piece));
    start = end;
  }
  std::erase_if(pieces, [](const ChinesePiece& piece) { return piece.text.empty(); });
  // Do you think (that) she will come? → 你想她会来吗: 吗 ends the whole question.
  const auto ma = std::find_if(pieces.begin(), pieces.end(), [](const ChinesePiece& piece) { return piece.text == "吗"; });
  if (ma != pieces.end() && ma + 1 != pieces.end()) std::rotate(ma, ma + 1, pieces.end());
  return pieces;
}

}  // namespace parlavo::server
