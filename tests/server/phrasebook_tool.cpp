// Keeps tests/server/phrasebook.tsv, ordinary sentences with reference
// translations and what the dictionary engine makes of them, so that changes
// in translation quality show up in review, and prints the engine's chrF
// against the references for each direction. Also scores held-out sentences
// (heldout.tsv), which store no outputs so that nobody tunes on them, against
// a word-for-word gloss, and counts the everyday words (everyday_words.tsv)
// whose expected sense comes first.
//
//   server_phrasebook INDEX FILE            rewrite the output column
//   server_phrasebook --check INDEX FILE    list sentences whose output changed; exit 1 if any
//   server_phrasebook --score INDEX FILE    chrF of the engine and of the gloss; no output shown
//   server_phrasebook --words INDEX FILE    how many words (entries) get an expected sense first
//   server_phrasebook --trace INDEX zh|en SENTENCE   the translation and the rules that fired

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dictionary/chinese_to_english.h"
#include "dictionary/english_to_chinese.h"
#include "dictionary/word_entry.h"
#include "engines/dictionary_engine.h"
#include "text/ascii.h"
#include "text/utf8.h"
#include "word_gloss.h"

namespace {

// chrF as sacrebleu computes it by default: character n-grams of orders 1 to
// 6 with blanks removed, counts summed over the whole set, then per order an
// F-score weighting recall twice as much as precision (beta = 2), averaged.
class ChrF {
 public:
  void Add(const std::string& hypothesis, const std::string& reference) {
    const std::u32string hyp = Characters(hypothesis), ref = Characters(reference);
    for (std::size_t n = 1; n <= m_counts.size(); ++n) {
      std::map<std::u32string, long> hypGrams, refGrams;
      for (std::size_t i = 0; i + n <= hyp.size(); ++i) ++hypGrams[hyp.substr(i, n)];
      for (std::size_t i = 0; i + n <= ref.size(); ++i) ++refGrams[ref.substr(i, n)];
      Counts& counts = m_counts[n - 1];
      for (const auto& [gram, count] : hypGrams) counts.match += std::min(count, refGrams[gram]);
      counts.hypothesis += static_cast<long>(hyp.size() >= n ? hyp.size() - n + 1 : 0);
      counts.reference += static_cast<long>(ref.size() >= n ? ref.size() - n + 1 : 0);
    }
  }

  double Score() const {
    constexpr double kBetaSquared = 4, kEpsilon = 1e-16;
    double sum = 0;
    int effectiveOrder = 0;
    for (const Counts& counts : m_counts) {
      const double precision = counts.hypothesis > 0 ? double(counts.match) / double(counts.hypothesis) : kEpsilon;
      const double recall = counts.reference > 0 ? double(counts.match) / double(counts.reference) : kEpsilon;
      const double denominator = kBetaSquared * precision + recall;
      sum += denominator > 0 ? (1 + kBetaSquared) * precision * recall / denominator : kEpsilon;
      if (counts.hypothesis > 0 && counts.reference > 0) ++effectiveOrder;
    }
    return effectiveOrder == 0 ? 0 : 100 * sum / effectiveOrder;
  }

 private:
  struct Counts {
    long match = 0, hypothesis = 0, reference = 0;
  };
  static std::u32string Characters(const std::string& text) {
    std::u32string characters;
    for (std::size_t pos = 0; pos < text.size();) {
      const char32_t c = parlavo::NextCodePoint(text, pos);
      if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != 0x3000) characters += c;
    }
    return characters;
  }
  std::array<Counts, 6> m_counts{};
};

// A sentence or word line: "pair<TAB>source<TAB>reference[<TAB>output]".
struct Row {
  std::string pair, source, reference, output;
  std::string From() const { return pair.substr(0, 2); }
  std::string To() const { return pair.substr(3); }
};

// nullopt for a comment or a blank line.
std::optional<Row> ParseRow(const std::string& line) {
  if (line.empty() || line.front() == '#') return std::nullopt;
  std::istringstream fields(line);
  Row row;
  std::getline(fields, row.pair, '\t');
  std::getline(fields, row.source, '\t');
  std::getline(fields, row.reference, '\t');
  std::getline(fields, row.output);
  if ((row.pair != "zh|en" && row.pair != "en|zh") || row.reference.empty()) throw std::runtime_error("bad line: " + line);
  return row;
}

std::vector<Row> ReadRows(const std::string& file) {
  std::ifstream in(file);
  if (!in) throw std::runtime_error("cannot read " + file);
  std::vector<Row> rows;
  for (std::string line; std::getline(in, line);) {
    if (auto row = ParseRow(line)) rows.push_back(std::move(*row));
  }
  return rows;
}

// The phrase book: rewrites its output column, or with `check` only reports changed outputs.
int KeepPhrasebook(parlavo::server::DictionaryEngine& engine, const std::string& file, bool check) {
  std::ifstream in(file);
  if (!in) throw std::runtime_error("cannot read " + file);
  std::map<std::string, ChrF> scores;
  int changed = 0;
  std::string rewritten;
  for (std::string line; std::getline(in, line); rewritten += line + '\n') {
    const auto row = ParseRow(line);
    if (!row) continue;
    const std::string output = engine.Translate(row->source, row->From(), row->To());
    scores[row->pair].Add(output, row->reference);
    if (output != row->output) {
      ++changed;
      std::printf("%s\t%s\n  was: %s\n  now: %s\n", row->pair.c_str(), row->source.c_str(), row->output.c_str(),
                  output.c_str());
    }
    line = row->pair + '\t' + row->source + '\t' + row->reference + '\t' + output;
  }
  for (const auto& [pair, score] : scores) std::printf("chrF %s: %.1f\n", pair.c_str(), score.Score());
  if (check && changed > 0) {
    std::printf("%d sentence(s) translate differently; rerun without --check to record them\n", changed);
    return 1;
  }
  if (!check) std::ofstream(file, std::ios::trunc) << rewritten;
  std::printf("%d sentence(s) changed\n", changed);
  return 0;
}

// Held-out sentences: the engine's chrF and the gloss's, per direction. Outputs are
// neither stored nor shown.
int ScoreHeldOut(parlavo::server::DictionaryEngine& engine, const parlavo::server::DictionaryIndex& index,
                 const std::string& file) {
  std::map<std::string, std::pair<ChrF, ChrF>> scores;
  std::map<std::string, int> counts;
  for (const Row& row : ReadRows(file)) {
    const bool fromChinese = row.From() == "zh";
    auto& [engineScore, glossScore] = scores[row.pair];
    engineScore.Add(engine.Translate(row.source, row.From(), row.To()), row.reference);
    glossScore.Add(fromChinese ? parlavo::server::GlossChinese(index, row.source)
                               : parlavo::server::GlossEnglish(index, row.source),
                   row.reference);
    ++counts[row.pair];
  }
  for (const auto& [pair, score] : scores) {
    std::printf("%s: %d sentences, chrF engine %.1f, word-for-word gloss %.1f\n", pair.c_str(), counts[pair],
                score.first.Score(), score.second.Score());
  }
  return 0;
}

// An answer's first rendering, as the everyday word list compares it: cut at the
// first ";", "；", ",", "，", "/" or line break, trimmed of blanks and of a final
// ".", "。", "!" or "?"; English lower-cased without a leading "to ", "a ", "an " or "the ".
std::string FirstRendering(std::string_view answer) {
  std::size_t cut = answer.size();
  for (const std::string_view separator : {";", "；", ",", "，", "/", "\n"}) cut = std::min(cut, answer.find(separator));
  std::string first = parlavo::ToLowerAscii(parlavo::TrimAscii(answer.substr(0, cut)));
  for (const std::string_view end : {".", "。", "!", "?"}) {
    if (first.ends_with(end)) first.resize(first.size() - end.size());
  }
  first = parlavo::TrimAscii(first);
  for (const std::string_view article : {"to ", "a ", "an ", "the "}) {
    if (first.starts_with(article)) first.erase(0, article.size());
  }
  return first;
}

// What the service answers a word with: its dictionary entry where it has one, of
// which the senses after the headword line and the first class label ("名词：")
// count; otherwise the engine's translation.
std::string WordAnswer(parlavo::server::DictionaryEngine& engine, const parlavo::server::DictionaryIndex& index,
                       const Row& row) {
  const auto entry = row.From() == "zh" ? parlavo::server::ChineseWordEntry(index, row.source)
                                        : parlavo::server::EnglishWordEntry(index, row.source);
  if (!entry) return engine.Translate(row.source, row.From(), row.To());
  const std::string_view label = "：";
  const std::string_view senses = std::string_view(*entry).substr(entry->find('\n') + 1);
  return std::string(senses.substr(senses.find(label) + label.size()));
}

// Everyday words: how many the service answers with one of the expected senses first
// (the reference column, "/"-separated), per direction, and which do not.
int CountWordsFirst(parlavo::server::DictionaryEngine& engine, const parlavo::server::DictionaryIndex& index,
                    const std::string& file) {
  std::map<std::string, std::pair<int, int>> counts;  // first, all
  std::map<std::string, std::string> missed;
  for (const Row& row : ReadRows(file)) {
    const std::string first = FirstRendering(WordAnswer(engine, index, row));
    std::istringstream expected(row.reference);
    bool found = false;
    for (std::string form; !found && std::getline(expected, form, '/');) found = form == first;
    auto& [firstCount, all] = counts[row.pair];
    ++all;
    if (found) {
      ++firstCount;
    } else {
      missed[row.pair] += ' ' + row.source;
    }
  }
  for (const auto& [pair, count] : counts) {
    std::printf("%s: %d of %d words with an expected sense first; not:%s\n", pair.c_str(), count.first, count.second,
                missed[pair].c_str());
  }
  return 0;
}

// The translation of one sentence and the names of the rules that fired for it.
int Trace(const char* indexFile, std::string_view from, const char* sentence) {
  const auto index = parlavo::server::DictionaryIndex::Load(indexFile);
  parlavo::server::RuleTrace trace;
  const std::string output = from == "zh" ? parlavo::server::ChineseToEnglish(index, sentence, &trace)
                                          : parlavo::server::EnglishToChinese(index, sentence, &trace);
  std::printf("%s\n", output.c_str());
  for (const std::string& rule : trace.rules()) std::printf("  %s\n", rule.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string_view(argv[1]) == "--trace") {
    try {
      return Trace(argv[2], argv[3], argv[4]);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "server_phrasebook: %s\n", error.what());
      return 1;
    }
  }
  const std::string mode = argc == 4 ? argv[1] : "";
  if (argc != 3 && mode != "--check" && mode != "--score" && mode != "--words") {
    std::fprintf(stderr, "usage: server_phrasebook [--check | --score | --words] INDEX FILE\n");
    return 2;
  }
  try {
    const std::string file = argv[argc - 1];
    const auto index = parlavo::server::DictionaryIndex::Load(argv[argc - 2]);
    parlavo::server::DictionaryEngine engine(index);  // a copy: the gloss reads the same words
    if (mode == "--score") return ScoreHeldOut(engine, index, file);
    if (mode == "--words") return CountWordsFirst(engine, index, file);
    return KeepPhrasebook(engine, file, mode == "--check");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "server_phrasebook: %s\n", error.what());
    return 1;
  }
}
