#include "indexer/entry_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cctype>

#include "dictionary/dictionary_format.h"
#include "indexer/senses.h"
#include "text/ascii.h"
#include "text/unicode_script.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

namespace format = dictionary_format;

// Longer renderings describe a word instead of translating it; those up to
// kLongestExplained keep what comes before their first comma
// ("Beijing municipality, capital of ...").
constexpr std::size_t kLongestRendering = 40;
constexpr std::size_t kLongestExplained = 100;
constexpr std::size_t kLongestNote = 16;

bool ContainsHan(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    if (IsHan(NextCodePoint(text, pos))) return true;
  }
  return false;
}

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
  std::string_view text = TrimAscii(out, " ,");
  if (text.starts_with("to ")) text.remove_prefix(3);
  // "to think that ..." reads as "think that".
  while (text.ends_with('.') || text.ends_with(' ')) text.remove_suffix(1);
  return std::string(text);
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
    default: return '\0';
  }
}

char EnglishSenseClass(std::string_view sense, const EnglishUse& english) {
  std::array<double, 4> use{};
  for (const std::string& rendering : Alternatives(sense)) {
    const auto found = english.find(EnglishKey(rendering));
    if (found == english.end()) continue;
    for (std::size_t i = 0; i < use.size(); ++i) use[i] += found->second[i];
  }
  const auto most = std::max_element(use.begin(), use.end());
  if (*most == 0) return '\0';
  return std::array{format::kNounClass, format::kVerbClass, format::kAdjectiveClass,
                    format::kAdverbClass}[static_cast<std::size_t>(most - use.begin())];
}

char SenseClass(std::string_view sense, std::string_view tag, const EnglishUse& english) {
  const SenseKind kind = ClassifySense(sense);
  if (kind == SenseKind::Reference) return '\0';
  const std::string text = ToLowerAscii(StripNotes(sense));
  if (kind == SenseKind::Grammar) {
    if (text.starts_with("classifier") || text.starts_with("measure word")) return format::kMeasureClass;
    if (text.starts_with("interjection")) return format::kInterjectionClass;
    const std::string raw = ToLowerAscii(sense);
    return raw.find("particle") != std::string::npos || raw.find("marker") != std::string::npos
               ? format::kParticleClass
               : format::kOtherClass;
  }
  if (text.starts_with("to ")) return format::kVerbClass;
  const char tagged = TaggedClass(tag);
  if (tagged == format::kNounClass || tagged == format::kAdjectiveClass || tagged == format::kAdverbClass ||
      tagged == format::kNumeralClass) {
    return tagged;
  }
  if (const char used = EnglishSenseClass(sense, english); used && used != format::kVerbClass) return used;
  if (tagged == format::kPronounClass || tagged == format::kPrepositionClass) return tagged;
  switch (tag.empty() ? 'n' : tag.front()) {
    case 'n': case 'q': case 'v': return format::kNounClass;
    case 'c': return format::kConjunctionClass;
    case 'u': return format::kParticleClass;
    case 'e': case 'y': case 'o': return format::kInterjectionClass;
    case 'i': case 'l': return format::kIdiomClass;
    default: return format::kOtherClass;
  }
}

std::string EntrySenseText(std::string_view sense) {
  std::string_view body = TrimAscii(sense, " ");
  const std::string lower = ToLowerAscii(body);
  if (lower.starts_with("used in ") || lower.starts_with("see ")) return {};
  std::size_t longest = kLongestRendering;
  for (std::string_view lead : {"classifier for ", "measure word for "}) {
    if (lower.starts_with(lead)) {
      body.remove_prefix(lead.size() - 4);  // keeps "for "
      longest *= 2;
    }
  }
  // A grammatical word's sense is its note: "(question particle)".
  if (body.starts_with('(') && body.ends_with(')') && ClassifySense(body) == SenseKind::Grammar) {
    body = body.substr(1, body.size() - 2);
  }
  std::string text;
  for (std::string_view piece : Renderings(body)) {
    std::string rendering = CleanRendering(piece);
    if (rendering.size() > longest && rendering.size() <= kLongestExplained) {
      rendering.resize(std::min(rendering.size(), rendering.find(", ")));
    }
    if (rendering.empty() || rendering.size() > longest || ContainsHan(rendering) ||
        rendering.find_first_of("[|") != std::string::npos) {
      continue;
    }
    if (!text.empty()) text += "; ";
    text += rendering;
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

struct SenseLine {
  bool otherClass;  // not of the class jieba gives the word
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
    const bool name = !entry->pinyin.empty() && std::isupper(static_cast<unsigned char>(entry->pinyin.front()));
    std::vector<SenseLine> senses;
    for (const std::string& sense : entry->senses) {
      const char senseClass = SenseClass(sense, tag, english);
      const char wordClass = senseClass && name ? format::kNameClass : senseClass;
      const std::string text = wordClass ? EntrySenseText(sense) : std::string();
      if (text.empty()) continue;
      const bool bound = ToLowerAscii(sense).find("(bound form)") != std::string::npos;
      std::string line{wordClass, bound ? format::kBoundForm : format::kPlainSense};
      senses.push_back({tagged && wordClass != tagged, SenseWeight(sense, senses.size(), english), line + text + '\n'});
    }
    if (senses.empty()) continue;
    // Where jieba says how the word is used, the senses of that class first.
    std::stable_sort(senses.begin(), senses.end(), [](const SenseLine& a, const SenseLine& b) {
      return a.otherClass != b.otherClass ? b.otherClass : a.weight > b.weight;
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
