#include <benchmark/benchmark.h>

#include <clocale>
#include <iomanip>
#include <sstream>
#include <stdexcept>

#include "net/text_encoding.h"

namespace parlavo {
namespace {

// 1 MiB of mixed Chinese and ASCII, in UTF-8.
Text MixedText() {
  const Text piece = "Parlavo 帕拉沃 translates 中文 and English, 你好世界! ";
  Text text;
  while (text.size() < 1024 * 1024) text += piece;
  return text;
}

void UseLocale(const char* name) {
  if (!std::setlocale(LC_ALL, name)) throw std::runtime_error(std::string("locale missing: ") + name);
}

// The straightforward per-byte encoder through a hex-switched stream.
Text StreamUrlEncode(const Text& text) {
  if (text.empty()) return {};
  Text utf8 = text;
  AnsiToUtf8(utf8);
  std::ostringstream out;
  for (const char c : utf8) {
    out << '%' << std::hex << std::setw(2) << std::setfill('0') << static_cast<unsigned>(static_cast<unsigned char>(c));
  }
  return out.str();
}

void BM_UrlEncode(benchmark::State& state) {
  UseLocale("C.UTF-8");
  const Text text = MixedText();
  for (auto _ : state) benchmark::DoNotOptimize(UrlEncode(text));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_UrlEncode)->Unit(benchmark::kMillisecond);

void BM_UrlEncodeStreamBaseline(benchmark::State& state) {
  UseLocale("C.UTF-8");
  const Text text = MixedText();
  for (auto _ : state) benchmark::DoNotOptimize(StreamUrlEncode(text));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_UrlEncodeStreamBaseline)->Unit(benchmark::kMillisecond);

void BM_Utf8ToAnsiGbk(benchmark::State& state) {
  UseLocale("zh_CN.GBK");
  const Text utf8 = MixedText();
  for (auto _ : state) {
    Text text = utf8;
    Utf8ToAnsi(text);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(utf8.size()));
}
BENCHMARK(BM_Utf8ToAnsiGbk)->Unit(benchmark::kMillisecond);

void BM_AnsiToUtf8Gbk(benchmark::State& state) {
  UseLocale("zh_CN.GBK");
  Text gbk = MixedText();
  Utf8ToAnsi(gbk);
  for (auto _ : state) {
    Text text = gbk;
    AnsiToUtf8(text);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(gbk.size()));
}
BENCHMARK(BM_AnsiToUtf8Gbk)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace parlavo
