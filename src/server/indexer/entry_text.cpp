#include "indexer/entry_text.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "dictionary/closed_class_words.h"
#include "dictionary/dictionary_format.h"
#include "indexer/senses.h"
#include "text/ascii.h"
#include "text/unicode_script.h"

namespace parlavo::server {

namespace {

namespace format = dictionary_format;

// Longer renderings describe a word instead of translating it; those up to
// kLongestExplained keep what comes before their first comma
// ("Beijing municipality, capital of ...").
constexpr std::size_t kLongestRendering = 40;
constexpr std::size_t kLongestExplained = 100;
constexpr std::size_t kLongestNote = 16;

// Splits at ';' outside parentheses.
std::vector<std::string_view> Renderings(std::string_view sense) {
  std::vector<std::string_view> pieces;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= sense.size(); ++i) {
    if (i == sense.size() || (sense[i] == ';' && depth == 0)) {
      pieces.push_back(TrimAscii(sense.substr(start, i - start), " "));
      start = i + 1;
    } else if (sense[i] == '(') {
      ++depth;
    } else if (sense[i] == ')' && depth > 0) {
      --depth;
    }
  }
  return pieces;
}

// The rendering without notes that lead it or quote Chinese; blanks collapsed.
std::string CleanRendering(std::string_view rendering) {
  std::string out;
  bool leading = true;
  for (std::size_t i = 0; i < rendering.size();) {
    if (rendering[i] == '(') {
      std::size_t close = i;
      for (int depth = 0; close < rendering.size(); ++close) {
        if (rendering[close] == '(') ++depth;
        if (rendering[close] == ')' && --depth == 0) break;
      }
      const std::string_view note = rendering.substr(i, close - i + 1);
      // Short notes that follow a rendering say how it is meant ("make (a phone call)"); longer ones explain.
      if (!leading && note.size() <= kLongestNote && !ContainsHan(note) && note.find('[') == std::string_view::npos) {
        out += note;
      }
      i = close + 1;
      continue;
    }
    if (rendering[i] != ' ') leading = false;
    if (!(rendering[i] == ' ' && (out.empty() || out.back() == ' '))) out += rendering[i];
    ++i;
  }
  // CC-CEDICT's "all right!" is an entry's "all right", "(after a numeral) ... odd" its "odd".
  std::string_view text = TrimAscii(out, " ,!.");
  if (text.starts_with("to ")) text.remove_prefix(3);
  // "to think that ..." reads as "think that".
  while (text.ends_with('.') || text.ends_with(' ')) text.remove_suffix(1);
  return std::string(text);
}

// A grammar word's explanation cut after the name of its kind: "aspect
// particle indicating action in progress" is an "aspect particle".
std::string GrammarName(std::string rendering) {
  for (std::string_view kind : {" particle", " marker"}) {
    if (const std::size_t at = rendering.find(kind); at != std::string::npos) rendering.resize(at + kind.size());
  }
  return rendering;
}

// A list in a rendering cut to its first kListItems items, without "etc":
// "for books, periodicals, files etc" reads as "for books, periodicals".
std::string ShortList(std::string rendering) {
  constexpr std::size_t kListItems = 2;
  if (rendering.ends_with(" etc")) rendering.resize(rendering.size() - 4);
  std::size_t comma = 0;
  for (std::size_t items = 0; items < kListItems && comma != std::string::npos; ++items) {
    comma = rendering.find(", ", comma == 0 ? 0 : comma + 2);
  }
  if (comma != std::string::npos) rendering.resize(comma);
  return rendering;
}

}  // namespace

char TaggedClass(std::string_view tag) {
  switch (tag.empty() ? '\0' : tag.front()) {
    case 'v': return format::kVerbClass;
    case 'n': case 't': case 's': case 'f': return format::kNounClass;
    case 'a': case 'b': return format::kAdjectiveClass;
    case 'd': return format::kAdverbClass;
    case 'm': return format::kNumeralClass;
    case 'r': return format::kPronounClass;
    case 'p': return format::kPrepositionClass;
    case 'q': return format::kMeasureClass;
    case 'c': return format::kConjunctionClass;
    case 'u': return format::kParticleClass;
    case 'e': case 'y': case 'o': return format::kInterjectionClass;
    case 'i': case 'l': return format::kIdiomClass;
    default: return '\0';
  }
}

namespace {

// Uses of the sense's renderings in English, summed: noun, verb, adjective,
// adverb, unit. With `heads`, a sense none of whose renderings English
// counts is read by the last word of its first ("uncooked rice": rice).
std::array<double, 5> EnglishUseOf(std::string_view sense, const EnglishUse& english, bool heads) {
  std::array<double, 5> use{};
  const std::vector<std::string> alternatives = Alternatives(sense);
  for (const std::string& rendering : alternatives) {
    const auto found = english.find(EnglishKey(rendering));
    if (found == english.end()) continue;
    for (std::size_t i = 0; i < use.size(); ++i) use[i] += found->second[i];
  }
  if (heads && !alternatives.empty() && *std::max_element(use.begin(), use.end()) == 0) {
    const std::string key = EnglishKey(alternatives.front());
    if (const auto found = english.find(key.substr(key.rfind(' ') + 1)); found != english.end()) {
      for (std::size_t i = 0; i < use.size(); ++i) use[i] += found->second[i];
    }
  }
  return use;
}

// The class of the commonest use, '\0' for none.
char ClassOfUse(const std::array<double, 5>& use) {
  const auto most = std::max_element(use.begin(), use.begin() + 4);
  if (*most == 0) return '\0';
  return std::array{format::kNounClass, format::kVerbClass, format::kAdjectiveClass,
                    format::kAdverbClass}[static_cast<std::size_t>(most - use.begin())];
}

}  // namespace

char EnglishSenseClass(std::string_view sense, const EnglishUse& english) {
  return ClassOfUse(EnglishUseOf(sense, english, false));
}

namespace {

// Notes by which CC-CEDICT names a sense's class.
constexpr std::pair<std::string_view, char> kClassNotes[] = {
    {"(interj", format::kInterjectionClass}, {"(prep.", format::kPrepositionClass},
    {"(preposition", format::kPrepositionClass}, {"(conj.", format::kConjunctionClass},
    {"(conjunction", format::kConjunctionClass}, {"(pron.", format::kPronounClass},
    {"(pron)", format::kPronounClass}, {"(pronoun", format::kPronounClass},
};

// The class of an English grammar word (preposition, conjunction, pronoun)
// that renders the sense, where WordNet, which holds only open classes, does
// not count it ("from"; not "so", an adverb too) or jieba gives the Chinese
// word the same class (但是 "but").
char ClosedEnglishClass(std::string_view sense, char tagged, const EnglishUse& english) {
  const std::vector<std::string> alternatives = Alternatives(sense);
  if (alternatives.empty()) return '\0';
  const std::string key = EnglishKey(alternatives.front());
  const ClosedClassWord* word = EnglishClosedWord(key, [](WordClass c) {
    return c == WordClass::Preposition || c == WordClass::Conjunction || c == WordClass::Pronoun;
  });
  if (!word) return '\0';
  const char closed = word->wordClass == WordClass::Preposition   ? format::kPrepositionClass
                      : word->wordClass == WordClass::Conjunction ? format::kConjunctionClass
                                                                  : format::kPronounClass;
  return closed == tagged || !english.contains(key) ? closed : '\0';
}

// Whether the sense is a number ("two", "10,000").
bool IsNumber(std::string_view sense) {
  const std::vector<std::string> alternatives = Alternatives(sense);
  if (alternatives.empty()) return false;
  const std::string key = EnglishKey(alternatives.front());
  if (key.empty()) return false;
  return key.find_first_not_of("0123456789,") == std::string::npos || EnglishClosedWord(key, WordClass::Number);
}

// Whether English uses the renderings in the class at all, against their commonest class.
bool EnglishAllows(const std::array<double, 5>& use, char wordClass) {
  const std::size_t column = EnglishUseColumn(wordClass);
  const double most = *std::max_element(use.begin(), use.begin() + 4);
  return most == 0 || (column != std::string_view::npos && use[column] * 4 >= most);
}

}  // namespace

char EvidencedClass(std::string_view sense, std::string_view tag, const EnglishUse& english) {
  const SenseKind kind = ClassifySense(sense);
  if (kind == SenseKind::Reference) return '\0';
  const std::string text = ToLowerAscii(StripNotes(sense));
  const std::string raw = ToLowerAscii(sense);
  // The sense may be all note: "(classifier used before a noun ...)".
  const std::string_view described = raw.starts_with('(') ? std::string_view(raw).substr(1) : std::string_view(raw);
  for (std::string_view lead : {"classifier", "measure word"}) {
    if (text.starts_with(lead) || described.starts_with(lead)) return format::kMeasureClass;
  }
  if (kind == SenseKind::Grammar) {
    if (text.starts_with("interjection") || raw.starts_with("(interj")) return format::kInterjectionClass;
    // Other grammar notes describe a function word ("(verb complement ...)", "(question particle)").
    return format::kParticleClass;
  }
  if (text.starts_with("to ")) return format::kVerbClass;
  for (const auto& [note, noted] : kClassNotes) {
    if (raw.find(note) != std::string::npos) return noted;
  }
  // "of; ~'s (possessive particle)"
  if (raw.find("particle") != std::string::npos) return format::kParticleClass;
  const char tagged = TaggedClass(tag);
  if (const char closed = ClosedEnglishClass(sense, tagged, english)) return closed;
  // Before units, which in WordNet numbers are too.
  if (IsNumber(sense)) return format::kNumeralClass;
  const std::array<double, 5> use = EnglishUseOf(sense, english, true);
  // Mostly a unit of measure ("dozen", "inch"): a classifier in Chinese.
  if (use[4] * 2 > use[0] && ClassOfUse(use) == format::kNounClass) return format::kMeasureClass;
  // "(of a person) tall": a quality of what the note names.
  if (raw.starts_with("(of ")) return format::kAdjectiveClass;
  if ((tagged == format::kNounClass || tagged == format::kAdjectiveClass || tagged == format::kAdverbClass) &&
      EnglishAllows(use, tagged)) {
    return tagged;
  }
  if (const char used = ClassOfUse(use); used && used != format::kVerbClass) return used;
  if (tagged == format::kPronounClass || tagged == format::kPrepositionClass) return tagged;
  return '\0';
}

char SenseClass(std::string_view sense, std::string_view tag, const EnglishUse& english) {
  if (ClassifySense(sense) == SenseKind::Reference) return '\0';
  if (const char evidenced = EvidencedClass(sense, tag, english)) return evidenced;
  // A sense of a verb without its "to" names a thing.
  const char tagged = TaggedClass(tag);
  return tagged && tagged != format::kVerbClass ? tagged : format::kNounClass;
}

std::string EntrySenseText(std::string_view sense) {
  std::string_view body = TrimAscii(sense, " ");
  // A grammatical word's sense is its note: "(question particle)".
  if (body.starts_with('(') && body.ends_with(')') && ClassifySense(body) == SenseKind::Grammar) {
    body = body.substr(1, body.size() - 2);
  }
  const std::string lower = ToLowerAscii(body);
  if (lower.starts_with("used in ") || lower.starts_with("see ")) return {};
  // A classifier's sense names what it counts, which takes more words.
  const bool classifier = lower.starts_with("classifier") || lower.starts_with("measure word");
  const std::size_t longest = classifier ? 2 * kLongestRendering : kLongestRendering;
  for (std::string_view lead : {"classifier for ", "measure word for "}) {
    if (lower.starts_with(lead)) body.remove_prefix(lead.size() - 4);  // keeps "for "
  }
  std::string text;
  for (std::string_view piece : Renderings(body)) {
    std::string rendering = ShortList(CleanRendering(piece));
    if (rendering.size() > longest) rendering = GrammarName(rendering);
    if (rendering.size() > longest && rendering.size() <= kLongestExplained) {
      rendering = TrimAscii(std::string_view(rendering).substr(0, rendering.find(", ")), " ");
    }
    if (rendering.empty() || rendering.size() > longest || ContainsHan(rendering) ||
        rendering.find_first_of("[|") != std::string::npos) {
      continue;
    }
    if (!text.empty()) text += "; ";
    text += rendering;
  }
  // "(sentence-final particle) used in questions to link back to ...": what
  // is left when the explanation is too long is the note naming the word's kind.
  if (text.empty() && body.starts_with('(')) {
    const std::string_view note = body.substr(1, body.find(')') - 1);
    if (note.find("particle") != std::string_view::npos && note.size() <= longest) text = GrammarName(std::string(note));
  }
  return text;
}

namespace {

// How much a sense is expected first: its place in CC-CEDICT, weighed down
// at each step, against how much English uses its first rendering (the
// logarithm of WordNet's count, which is rough: a rendering WordNet lacks
// counts as kUncounted), so that a far more common word moves up a place or
// two ("coin/money" -> money first).
double SenseWeight(std::string_view sense, std::size_t place, const EnglishUse& english) {
  constexpr double kUncounted = 20;
  const std::vector<std::string> alternatives = Alternatives(sense);
  double count = kUncounted;
  if (!alternatives.empty()) {
    if (const auto found = english.find(EnglishKey(alternatives.front())); found != english.end()) {
      count = static_cast<double>(found->second[0] + found->second[1] + found->second[2] + found->second[3]);
    }
  }
  return std::pow(0.7, static_cast<double>(place)) * std::log(count + 2);
}

// The class of a reading's senses that carry no evidence of their own: a
// noun where the entry names its classifiers ("CL:"), otherwise jieba's
// class for the word, failing that the commonest class of its other senses.
char MainClass(const CedictEntry& entry, char tagged, const std::vector<char>& classes) {
  const bool measured = std::any_of(entry.senses.begin(), entry.senses.end(),
                                    [](const std::string& sense) { return sense.starts_with("CL:"); });
  if (measured) return format::kNounClass;
  // jieba tags measure words such as 斤 as numerals too; a numeral shows in its senses.
  if (tagged && tagged != format::kNumeralClass) return tagged;
  char commonest = format::kNounClass;
  std::ptrdiff_t most = 0;
  for (char wordClass : classes) {
    const std::ptrdiff_t count = std::count(classes.begin(), classes.end(), wordClass);
    if (wordClass && count > most) {
      commonest = wordClass;
      most = count;
    }
  }
  return commonest;
}

struct SenseLine {
  bool otherClass;  // not of the open class (noun, verb, adjective, adverb) jieba gives the word
  bool bound;       // used only inside words: not what one looks a word up for
  double weight;
  std::string line;
};

}  // namespace

std::string ChineseEntryText(const std::vector<const CedictEntry*>& readings, std::string_view tag,
                             const EnglishUse& english) {
  std::vector<std::pair<std::string, std::string>> blocks;  // pinyin, sense lines
  for (const CedictEntry* entry : readings) {
    if (entry != readings.front()) tag = {};
    const char tagged = TaggedClass(tag);
    const bool name = IsProperName(*entry);
    std::vector<char> classes;
    for (const std::string& sense : entry->senses) classes.push_back(EvidencedClass(sense, tag, english));
    const char main = MainClass(*entry, tagged, classes);
    // A word jieba tags as a measure word (家) is still looked up for its meaning.
    const bool open = tagged && EnglishUseColumn(tagged) != std::string_view::npos;
    std::vector<SenseLine> senses;
    for (std::size_t i = 0; i < entry->senses.size(); ++i) {
      const std::string& sense = entry->senses[i];
      if (ClassifySense(sense) == SenseKind::Reference) continue;
      // CC-CEDICT writes a verb's senses with "to": a bare one of a verb names a thing.
      const char wordClass = name         ? format::kNameClass
                             : classes[i] ? classes[i]
                             : main == format::kVerbClass ? format::kNounClass
                                                          : main;
      const std::string text = EntrySenseText(sense);
      if (text.empty()) continue;
      const bool bound = IsBoundForm(sense);
      std::string line{wordClass, bound ? format::kBoundForm : format::kPlainSense};
      const double weight = SenseWeight(sense, senses.size(), english);
      senses.push_back({open && wordClass != tagged, bound, weight, line + text + '\n'});
    }
    if (senses.empty()) continue;
    // Where jieba says how the word is used (an open class), the senses of that class first.
    std::stable_sort(senses.begin(), senses.end(), [](const SenseLine& a, const SenseLine& b) {
      if (a.otherClass != b.otherClass) return b.otherClass;
      return a.bound != b.bound ? b.bound : a.weight > b.weight;
    });
    std::string lines;
    for (const SenseLine& sense : senses) lines += sense.line;
    const auto same = std::find_if(blocks.begin(), blocks.end(), [&](const auto& block) { return block.first == entry->pinyin; });
    if (same != blocks.end()) {
      same->second += lines;
    } else {
      blocks.emplace_back(entry->pinyin, std::move(lines));
    }
  }
  std::string text;
  for (const auto& [pinyin, lines] : blocks) text += format::kReadingLine + pinyin + '\n' + lines;
  if (!text.empty()) text.pop_back();
  return text;
}

}  // namespace parlavo::server
