#include "indexer/senses.h"

#include <array>
#include <cctype>

#include "dictionary/dictionary_format.h"
#include "text/ascii.h"
#include "text/unicode_script.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

bool StartsWithAny(std::string_view text, const auto& prefixes) {
  for (std::string_view prefix : prefixes) {
    if (text.starts_with(prefix)) return true;
  }
  return false;
}

constexpr std::array kReferencePrefixes{
    std::string_view("variant of"),        std::string_view("old variant of"),
    std::string_view("archaic variant of"), std::string_view("unofficial variant of"),
    std::string_view("euphemistic variant of"), std::string_view("erhua variant of"),
    std::string_view("japanese variant of"), std::string_view("korean variant of"),
    std::string_view("surname "),          std::string_view("cl:"),
    std::string_view("also written"),      std::string_view("also pr."),
    std::string_view("taiwan pr."),
};
// These also start ordinary English ("see you later"), so they only count
// when the sense names Chinese text.
constexpr std::array kPointerPrefixes{
    std::string_view("see "),      std::string_view("used in "), std::string_view("abbr. for"),
    std::string_view("abbr. of"),  std::string_view("same as "),
};
constexpr std::array kGrammarPrefixes{
    std::string_view("modal particle"),     std::string_view("structural particle"),
    std::string_view("sentence-final particle"), std::string_view("aspect particle"),
    std::string_view("final particle"),     std::string_view("interrogative particle"),
    std::string_view("particle"),           std::string_view("interjection"),
    std::string_view("plural marker"),      std::string_view("suffix"),
    std::string_view("prefix"),             std::string_view("classifier for"),
    std::string_view("measure word"),
};
constexpr std::array kUsageMarks{
    std::string_view("(archaic)"),    std::string_view("(old)"),        std::string_view("(literary)"),
    std::string_view("(dialect)"),    std::string_view("(classical)"),  std::string_view("(obsolete)"),
    std::string_view("slang)"),       std::string_view("(vulgar)"),     std::string_view("(humble)"),
    std::string_view("(honorific)"),  std::string_view("(bound form)"), std::string_view("(cantonese)"),
    std::string_view("(tw)"),         std::string_view("(derog.)"),     std::string_view("(old-fashioned)"),
    std::string_view("(arch.)"),
};

}  // namespace

SenseKind ClassifySense(std::string_view sense) {
  const std::string raw = ToLowerAscii(TrimAscii(sense, " "));
  const std::string stripped = ToLowerAscii(StripNotes(sense));
  for (const std::string& text : {raw, stripped}) {
    if (StartsWithAny(text, kReferencePrefixes)) return SenseKind::Reference;
    if (StartsWithAny(text, kPointerPrefixes) && ContainsHan(text)) return SenseKind::Reference;
  }
  if (stripped.empty() || StartsWithAny(stripped, kGrammarPrefixes)) return SenseKind::Grammar;
  return SenseKind::Meaning;
}

bool IsMarkedUsage(std::string_view sense) {
  const std::string lower = ToLowerAscii(sense);
  for (std::string_view mark : kUsageMarks) {
    if (lower.find(mark) != std::string::npos) return true;
  }
  return false;
}

bool IsBoundForm(std::string_view sense) { return ToLowerAscii(sense).find("(bound form)") != std::string::npos; }

std::string StripNotes(std::string_view sense) {
  std::string out;
  int depth = 0;
  for (char c : sense) {
    if (c == '(') {
      ++depth;
    } else if (c == ')' && depth > 0) {
      --depth;
    } else if (depth == 0) {
      if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
      if ((c == ',' || c == ';') && !out.empty() && out.back() == ' ') out.pop_back();
      out += c;
    }
  }
  return std::string(TrimAscii(out, " "));
}

std::vector<std::string> Alternatives(std::string_view sense) {
  std::vector<std::string> alternatives;
  const std::string stripped = StripNotes(sense);
  std::string_view rest = stripped;
  while (true) {
    const auto semicolon = rest.find(';');
    const std::string_view piece = TrimAscii(TrimAscii(rest.substr(0, semicolon), " "), " ,");
    const bool usable = !piece.empty() && !ContainsHan(piece) &&
                        piece.find_first_of("[|") == std::string_view::npos &&
                        !StartsWithAny(piece, std::array{std::string_view("-"), std::string_view("~"),
                                                         std::string_view("...")});
    if (usable) alternatives.emplace_back(piece);
    if (semicolon == std::string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
  return alternatives;
}

std::string ChineseSenses(const CedictEntry& entry) {
  if (entry.senses.empty() || ClassifySense(entry.senses.front()) != SenseKind::Meaning) return {};
  constexpr std::size_t kMostSenses = 6;
  constexpr std::size_t kLongestRendering = 100;
  std::string senses;
  std::size_t count = 0;
  for (const std::string& sense : entry.senses) {
    if (count == kMostSenses) break;
    // A bound form is still what the character means inside its words.
    if (ClassifySense(sense) != SenseKind::Meaning || (count > 0 && !IsBoundForm(sense) && IsMarkedUsage(sense))) {
      continue;
    }
    const std::vector<std::string> alternatives = Alternatives(sense);
    // A long first rendering explains the word instead of translating it.
    if (alternatives.empty() || alternatives.front().size() > kLongestRendering) continue;
    std::string rendering = alternatives.front();
    if (const auto comma = rendering.find(", "); comma != std::string::npos) rendering.resize(comma);
    while (!rendering.empty() && (rendering.back() == '!' || rendering.back() == '?' || rendering.back() == '.')) {
      rendering.pop_back();
    }
    if (rendering.empty() || rendering == "to" || rendering.find('/') != std::string::npos) continue;
    if (count++ > 0) senses += '/';
    senses += rendering;
  }
  return senses;
}

std::string Measure(const CedictEntry& entry) {
  for (const std::string& sense : entry.senses) {
    if (!sense.starts_with("CL:")) continue;
    std::string_view first = std::string_view(sense).substr(3);
    first = first.substr(0, first.find_first_of(",["));
    if (const auto bar = first.find('|'); bar != std::string_view::npos) first.remove_prefix(bar + 1);
    if (CountCodePoints(first) == 1 && first.size() <= 3) return std::string(first);
    return {};
  }
  return {};
}

std::string EnglishKey(std::string_view rendering) {
  std::string text = ToLowerAscii(TrimAscii(rendering, " "));
  while (!text.empty() && (text.back() == '!' || text.back() == '?' || text.back() == '.')) text.pop_back();
  for (std::string_view lead : {"to ", "a ", "an ", "the "}) {
    if (text.starts_with(lead)) text.erase(0, lead.size());
  }
  std::string key;
  std::size_t words = 0;
  std::string word;
  const auto finishWord = [&] {
    if (word.empty()) return true;
    if (word == "sb" || word == "sth" || word == "etc" || word == "e.g" || word == "i.e") return false;
    if (!key.empty()) key += ' ';
    key += word;
    word.clear();
    return ++words <= dictionary_format::kMaxEnglishKeyWords;
  };
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == ' ') {
      if (!finishWord()) return {};
    } else if (std::isalnum(u) && u < 0x80) {
      word += c;
    } else if ((c == '\'' || c == '-') && !word.empty()) {
      word += c;
    } else {
      return {};
    }
  }
  if (!finishWord() || key.empty()) return {};
  if (key.back() == '-' || key.back() == '\'' || key.size() > dictionary_format::kMaxKeyBytes) return {};
  return key;
}

}  // namespace parlavo::server
