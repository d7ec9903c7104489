#include "dictionary/english_morphology.h"

#include <array>

namespace parlavo::server {

namespace {

struct IrregularVerb {
  std::string_view lemma, past, participle;
};

constexpr std::array<IrregularVerb, 72> kIrregularVerbs{{
    {"be", "was", "been"},          {"have", "had", "had"},         {"do", "did", "done"},
    {"go", "went", "gone"},         {"see", "saw", "seen"},         {"eat", "ate", "eaten"},
    {"come", "came", "come"},       {"make", "made", "made"},       {"say", "said", "said"},
    {"take", "took", "taken"},      {"get", "got", "got"},          {"know", "knew", "known"},
    {"think", "thought", "thought"}, {"give", "gave", "given"},     {"find", "found", "found"},
    {"tell", "told", "told"},       {"feel", "felt", "felt"},       {"leave", "left", "left"},
    {"buy", "bought", "bought"},    {"bring", "brought", "brought"}, {"write", "wrote", "written"},
    {"speak", "spoke", "spoken"},   {"begin", "began", "begun"},    {"drink", "drank", "drunk"},
    {"run", "ran", "run"},          {"sit", "sat", "sat"},          {"sleep", "slept", "slept"},
    {"catch", "caught", "caught"},  {"teach", "taught", "taught"},  {"read", "read", "read"},
    {"put", "put", "put"},          {"cut", "cut", "cut"},          {"set", "set", "set"},
    {"let", "let", "let"},          {"hit", "hit", "hit"},          {"meet", "met", "met"},
    {"pay", "paid", "paid"},        {"lose", "lost", "lost"},       {"send", "sent", "sent"},
    {"spend", "spent", "spent"},    {"build", "built", "built"},    {"forget", "forgot", "forgotten"},
    {"fly", "flew", "flown"},       {"grow", "grew", "grown"},      {"rise", "rose", "risen"},
    {"fall", "fell", "fallen"},     {"break", "broke", "broken"},   {"choose", "chose", "chosen"},
    {"drive", "drove", "driven"},   {"stand", "stood", "stood"},    {"understand", "understood", "understood"},
    {"win", "won", "won"},          {"hold", "held", "held"},       {"keep", "kept", "kept"},
    {"become", "became", "become"}, {"hear", "heard", "heard"},     {"mean", "meant", "meant"},
    {"sell", "sold", "sold"},       {"wear", "wore", "worn"},       {"swim", "swam", "swum"},
    {"sing", "sang", "sung"},       {"shut", "shut", "shut"},       {"lie", "lay", "lain"},
    {"light", "lit", "lit"},        {"draw", "drew", "drawn"},      {"show", "showed", "shown"},
    {"steal", "stole", "stolen"},   {"throw", "threw", "thrown"},   {"hide", "hid", "hidden"},
    {"shake", "shook", "shaken"},   {"wake", "woke", "woken"},      {"ride", "rode", "ridden"},
}};

struct IrregularNoun {
  std::string_view singular, plural;
};

constexpr std::array<IrregularNoun, 8> kIrregularNouns{{
    {"man", "men"}, {"woman", "women"}, {"child", "children"}, {"foot", "feet"},
    {"person", "people"}, {"tooth", "teeth"}, {"mouse", "mice"}, {"fish", "fish"},
}};

bool IsVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

// "stop", "plan": a short word ending consonant-vowel-consonant doubles its
// last letter before -ed and -ing.
bool DoublesFinal(std::string_view word) {
  if (word.size() < 3 || word.size() > 4) return false;
  const char last = word.back();
  return !IsVowel(last) && last != 'w' && last != 'x' && last != 'y' && IsVowel(word[word.size() - 2]) &&
         !IsVowel(word[word.size() - 3]);
}

// "stopp" -> "stop": a doubled final consonant before -ed / -ing.
void AddUndoubled(std::vector<WordForm>& forms, std::string_view stem, Inflection inflection) {
  if (stem.size() >= 3 && stem[stem.size() - 1] == stem[stem.size() - 2] && !IsVowel(stem.back())) {
    forms.push_back({std::string(stem.substr(0, stem.size() - 1)), inflection});
  }
}

// "writ" from "writing", "clos" from "closed": one vowel and a single
// consonant (not w, x or y) is a stem that lost its silent e (write, close);
// "visit", "eat", "open" are not.
bool LostSilentE(std::string_view stem) {
  if (stem.size() < 2 || IsVowel(stem.back()) || std::string_view("wxy").find(stem.back()) != std::string_view::npos ||
      !IsVowel(stem[stem.size() - 2]) || (stem.size() > 2 && IsVowel(stem[stem.size() - 3]))) {
    return false;
  }
  for (std::size_t i = 0; i + 2 < stem.size(); ++i) {
    if (IsVowel(stem[i])) return false;
  }
  return true;
}

std::string WithS(std::string_view word) {
  const std::string text(word);
  if (text.ends_with('s') || text.ends_with('x') || text.ends_with('z') || text.ends_with("ch") ||
      text.ends_with("sh") || text.ends_with('o')) {
    return text + "es";
  }
  if (text.size() > 1 && text.back() == 'y' && !IsVowel(text[text.size() - 2])) {
    return text.substr(0, text.size() - 1) + "ies";
  }
  return text + 's';
}

std::string InflectWord(std::string_view verb, Inflection inflection) {
  const std::string text(verb);
  if (verb == "be") {
    switch (inflection) {
      case Inflection::ThirdPerson: return "is";
      case Inflection::Past: return "was";
      case Inflection::Participle: return "been";
      case Inflection::Progressive: return "being";
      default: return text;
    }
  }
  if (verb == "have" && inflection == Inflection::ThirdPerson) return "has";
  if (verb == "do" && inflection == Inflection::ThirdPerson) return "does";
  for (const IrregularVerb& irregular : kIrregularVerbs) {
    if (irregular.lemma != verb) continue;
    if (inflection == Inflection::Past) return std::string(irregular.past);
    if (inflection == Inflection::Participle) return std::string(irregular.participle);
  }
  switch (inflection) {
    case Inflection::ThirdPerson:
    case Inflection::Plural:
      return WithS(verb);
    case Inflection::Past:
    case Inflection::Participle:
      if (text.ends_with('e')) return text + 'd';
      if (text.size() > 1 && text.back() == 'y' && !IsVowel(text[text.size() - 2])) {
        return text.substr(0, text.size() - 1) + "ied";
      }
      return DoublesFinal(verb) ? text + text.back() + "ed" : text + "ed";
    case Inflection::Progressive:
      if (text.ends_with("ie")) return text.substr(0, text.size() - 2) + "ying";
      if (text.ends_with('e') && !text.ends_with("ee") && text.size() > 2) {
        return text.substr(0, text.size() - 1) + "ing";
      }
      return DoublesFinal(verb) ? text + text.back() + "ing" : text + "ing";
    case Inflection::None:
    case Inflection::Comparative:
      break;
  }
  return text;
}

}  // namespace

std::vector<WordForm> LookupForms(std::string_view word) {
  std::vector<WordForm> forms{{std::string(word), Inflection::None}};
  for (const IrregularVerb& irregular : kIrregularVerbs) {
    if (irregular.past == word) forms.push_back({std::string(irregular.lemma), Inflection::Past});
    if (irregular.participle == word && irregular.participle != irregular.past && irregular.participle != irregular.lemma) {
      forms.push_back({std::string(irregular.lemma), Inflection::Participle});
    }
  }
  for (const IrregularNoun& irregular : kIrregularNouns) {
    if (irregular.plural == word && irregular.plural != irregular.singular) {
      forms.push_back({std::string(irregular.singular), Inflection::Plural});
    }
  }
  for (std::string_view be : {"am", "is", "are"}) {
    if (word == be) forms.push_back({"be", Inflection::None});
  }
  if (word == "were") forms.push_back({"be", Inflection::Past});
  if (word == "has") forms.push_back({"have", Inflection::ThirdPerson});
  if (word == "does") forms.push_back({"do", Inflection::ThirdPerson});
  const auto stem = [&](std::size_t suffix) { return std::string(word.substr(0, word.size() - suffix)); };
  if (word.ends_with("ies") && word.size() > 4) forms.push_back({stem(3) + "y", Inflection::Plural});
  if (word.ends_with("es") && word.size() > 3) forms.push_back({stem(2), Inflection::Plural});
  if (word.ends_with('s') && !word.ends_with("ss") && word.size() > 2) forms.push_back({stem(1), Inflection::Plural});
  if (word.ends_with("ied") && word.size() > 4) forms.push_back({stem(3) + "y", Inflection::Past});
  if (word.ends_with("ed") && word.size() > 3) {
    const bool e = LostSilentE(stem(2));
    forms.push_back({e ? stem(1) : stem(2), Inflection::Past});
    forms.push_back({e ? stem(2) : stem(1), Inflection::Past});
    AddUndoubled(forms, stem(2), Inflection::Past);
  }
  if (word.ends_with("ier") && word.size() > 4) forms.push_back({stem(3) + "y", Inflection::Comparative});
  if (word.ends_with("er") && word.size() > 4) {
    forms.push_back({stem(2), Inflection::Comparative});
    forms.push_back({stem(1), Inflection::Comparative});
    AddUndoubled(forms, stem(2), Inflection::Comparative);
  }
  if (word.ends_with("ing") && word.size() > 4) {
    const bool e = LostSilentE(stem(3));
    forms.push_back({stem(3) + (e ? "e" : ""), Inflection::Progressive});
    forms.push_back({e ? stem(3) : stem(3) + "e", Inflection::Progressive});
    AddUndoubled(forms, stem(3), Inflection::Progressive);
  }
  return forms;
}

std::string InflectVerb(std::string_view phrase, Inflection inflection) {
  // "protect and maintain": both verbs take the ending.
  if (const auto conjunction = phrase.find(" and "); conjunction != std::string_view::npos) {
    return InflectVerb(phrase.substr(0, conjunction), inflection) + " and " +
           InflectVerb(phrase.substr(conjunction + 5), inflection);
  }
  const auto blank = phrase.find(' ');
  const std::string_view first = phrase.substr(0, blank);
  std::string inflected = InflectWord(first, inflection);
  if (blank != std::string_view::npos) inflected += phrase.substr(blank);
  return inflected;
}

std::string Plural(std::string_view phrase) {
  const auto blank = phrase.rfind(' ');
  const std::string_view last = blank == std::string_view::npos ? phrase : phrase.substr(blank + 1);
  std::string plural(phrase.substr(0, phrase.size() - last.size()));
  for (const IrregularNoun& irregular : kIrregularNouns) {
    if (irregular.singular == last) return plural + std::string(irregular.plural);
  }
  return plural + WithS(last);
}

}  // namespace parlavo::server
