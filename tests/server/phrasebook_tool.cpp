// Keeps tests/server/phrasebook.tsv, ordinary sentences with reference
// translations and what the dictionary engine makes of them, so that changes
// in translation quality show up in review, and prints the engine's chrF
// against the references for each direction.
//
//   server_phrasebook INDEX FILE            rewrite the output column
//   server_phrasebook --check INDEX FILE    list sentences whose output changed; exit 1 if any
//   server_phrasebook --trace INDEX zh|en SENTENCE   the translation and the rules that fired

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "dictionary/chinese_to_english.h"
#include "dictionary/english_to_chinese.h"
#include "engines/dictionary_engine.h"
#include "text/utf8.h"

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

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "--trace") == 0) {
    const auto index = parlavo::server::DictionaryIndex::Load(argv[2]);
    parlavo::server::RuleTrace trace;
    const bool toEnglish = std::strcmp(argv[3], "zh") == 0;
    std::printf("%s\n", (toEnglish ? parlavo::server::ChineseToEnglish(index, argv[4], &trace)
                                    : parlavo::server::EnglishToChinese(index, argv[4], &trace))
                            .c_str());
    for (const std::string& rule : trace.rules()) std::printf("  %s\n", rule.c_str());
    return 0;
  }
  const bool check = argc == 4 && std::strcmp(argv[1], "--check") == 0;
  if (argc != 3 && !check) {
    std::fprintf(stderr, "usage: server_phrasebook [--check] INDEX FILE\n");
    return 2;
  }
  try {
    const std::string file = argv[argc - 1];
    parlavo::server::DictionaryEngine engine(parlavo::server::DictionaryIndex::Load(argv[argc - 2]));
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot read " + file);
    std::map<std::string, ChrF> scores;
    int changed = 0;
    std::string rewritten;
    // Comments as they are; sentences as "pair<TAB>sentence<TAB>reference<TAB>output".
    for (std::string line; std::getline(in, line); rewritten += line + '\n') {
      if (line.empty() || line.front() == '#') continue;
      std::istringstream fields(line);
      std::string pair, sentence, reference, was;
      std::getline(fields, pair, '\t');
      std::getline(fields, sentence, '\t');
      std::getline(fields, reference, '\t');
      std::getline(fields, was);
      if ((pair != "zh|en" && pair != "en|zh") || reference.empty()) throw std::runtime_error("bad line: " + line);
      const std::string output = engine.Translate(sentence, pair.substr(0, 2), pair.substr(3));
      scores[pair].Add(output, reference);
      if (output != was) {
        ++changed;
        std::printf("%s\t%s\n  was: %s\n  now: %s\n", pair.c_str(), sentence.c_str(), was.c_str(), output.c_str());
      }
      line = pair + '\t' + sentence + '\t' + reference + '\t' + output;
    }
    for (const auto& [pair, score] : scores) std::printf("chrF %s: %.1f\n", pair.c_str(), score.Score());
    if (check && changed > 0) {
      std::printf("%d sentence(s) translate differently; rerun without --check to record them\n", changed);
      return 1;
    }
    if (!check) std::ofstream(file, std::ios::trunc) << rewritten;
    std::printf("%d sentence(s) changed\n", changed);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "server_phrasebook: %s\n", error.what());
    return 1;
  }
}
