#include "dictionary/english_lemmas.h"

#include <array>
#include <utility>

namespace parlavo::server {

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 48> kIrregular{{
    {"am", "be"},       {"is", "be"},        {"are", "be"},       {"was", "be"},      {"were", "be"},
    {"been", "be"},     {"has", "have"},     {"had", "have"},     {"does", "do"},     {"did", "do"},
    {"done", "do"},     {"went", "go"},      {"gone", "go"},      {"saw", "see"},     {"seen", "see"},
    {"ate", "eat"},     {"eaten", "eat"},    {"came", "come"},    {"made", "make"},   {"said", "say"},
    {"took", "take"},   {"taken", "take"},   {"got", "get"},      {"knew", "know"},   {"known", "know"},
    {"thought", "think"}, {"gave", "give"},  {"given", "give"},   {"found", "find"},  {"told", "tell"},
    {"felt", "feel"},   {"left", "leave"},   {"bought", "buy"},   {"brought", "bring"}, {"wrote", "write"},
    {"written", "write"}, {"spoke", "speak"}, {"spoken", "speak"}, {"began", "begin"}, {"begun", "begin"},
    {"drank", "drink"}, {"ran", "run"},      {"sat", "sit"},      {"slept", "sleep"}, {"men", "man"},
    {"women", "woman"}, {"children", "child"}, {"feet", "foot"},
}};

bool IsVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

// "stopp" -> "stop": a doubled final consonant before -ed / -ing.
void AddUndoubled(std::vector<std::string>& forms, std::string_view stem) {
  if (stem.size() >= 3 && stem[stem.size() - 1] == stem[stem.size() - 2] && !IsVowel(stem.back())) {
    forms.emplace_back(stem.substr(0, stem.size() - 1));
  }
}

}  // namespace

std::vector<std::string> LookupForms(std::string_view word) {
  std::vector<std::string> forms;
  for (const auto& [form, lemma] : kIrregular) {
    if (form == word) forms.emplace_back(lemma);
  }
  forms.emplace_back(word);
  const auto stem = [&](std::size_t suffix) { return word.substr(0, word.size() - suffix); };
  if (word.ends_with("ies") && word.size() > 4) forms.push_back(std::string(stem(3)) + "y");
  if (word.ends_with("es") && word.size() > 3) forms.emplace_back(stem(2));
  if (word.ends_with('s') && !word.ends_with("ss") && word.size() > 2) forms.emplace_back(stem(1));
  if (word.ends_with("ied") && word.size() > 4) forms.push_back(std::string(stem(3)) + "y");
  if (word.ends_with("ed") && word.size() > 3) {
    forms.emplace_back(stem(2));
    forms.emplace_back(stem(1));
    AddUndoubled(forms, stem(2));
  }
  if (word.ends_with("ing") && word.size() > 4) {
    forms.emplace_back(stem(3));
    forms.push_back(std::string(stem(3)) + "e");
    AddUndoubled(forms, stem(3));
  }
  return forms;
}

}  // namespace parlavo::server
