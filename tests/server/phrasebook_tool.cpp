// Keeps tests/server/phrasebook.tsv, everyday phrases with what the
// dictionary engine makes of them, so that changes in translation quality
// show up in review.
//
//   server_phrasebook INDEX FILE            rewrite the output column
//   server_phrasebook --check INDEX FILE    list phrases whose output changed; exit 1 if any

#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engines/dictionary_engine.h"

namespace {

using parlavo::server::DictionaryEngine;
using parlavo::server::DictionaryIndex;

struct Line {
  std::string text;  // comments as they are; phrases as "pair<TAB>phrase<TAB>output"
  std::string pair, phrase, output;
  bool isPhrase = false;
};

std::vector<Line> Read(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<Line> lines;
  for (std::string text; std::getline(in, text);) {
    Line line{text, {}, {}, {}, false};
    if (!text.empty() && text.front() != '#') {
      std::istringstream fields(text);
      std::getline(fields, line.pair, '\t');
      std::getline(fields, line.phrase, '\t');
      std::getline(fields, line.output);
      if (line.pair != "zh|en" && line.pair != "en|zh") throw std::runtime_error("bad line: " + text);
      line.isPhrase = true;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc == 4 && std::strcmp(argv[1], "--check") == 0;
  if (argc != 3 && !check) {
    std::fprintf(stderr, "usage: server_phrasebook [--check] INDEX FILE\n");
    return 2;
  }
  try {
    const std::string file = argv[argc - 1];
    DictionaryEngine engine(DictionaryIndex::Load(argv[argc - 2]));
    std::vector<Line> lines = Read(file);
    int changed = 0;
    std::string rewritten;
    for (Line& line : lines) {
      if (line.isPhrase) {
        const auto bar = line.pair.find('|');
        const std::string output = engine.Translate(line.phrase, line.pair.substr(0, bar), line.pair.substr(bar + 1));
        if (output != line.output) {
          ++changed;
          std::printf("%s\t%s\n  was: %s\n  now: %s\n", line.pair.c_str(), line.phrase.c_str(), line.output.c_str(),
                      output.c_str());
        }
        line.text = line.pair + '\t' + line.phrase + '\t' + output;
      }
      rewritten += line.text + '\n';
    }
    if (check) {
      if (changed > 0) {
        std::printf("%d phrase(s) translate differently; rerun without --check to record them\n", changed);
        return 1;
      }
      return 0;
    }
    std::ofstream(file, std::ios::trunc) << rewritten;
    std::printf("%d phrase(s) changed\n", changed);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "server_phrasebook: %s\n", error.what());
    return 1;
  }
}
