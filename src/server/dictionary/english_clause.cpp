#include "dictionary/english_clause.h"

#include "dictionary/english_rules.h"

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
std::optional<std::pair<IndexWord, Inflection>> Lexicon::Phrase(const std::vector<std::string>& words,
                                                                std::size_t at, std::size_t count) const {
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

std::vector<ChinesePiece> TranslateEnglishClause(const DictionaryIndex& index, const std::vector<ClauseToken>& words,
                                                 bool question, RuleTrace* trace) {
  using namespace english_rules;
  std::vector<ChinesePiece> pieces = ClauseBuilder(Classify(Lexicon(index), words, trace), question, trace).Run();
  std::erase_if(pieces, [](const ChinesePiece& piece) { return piece.text.empty(); });
  return pieces;
}

}  // namespace parlavo::server
