// Server-side costs of the local translation service: loading the dictionary
// index, translations inside the server (request target in, envelope out, no
// socket: service_footprint measures the same through the sockets), and
// detect requests per second over a keep-alive loopback connection next to a
// trivial request (an unknown path) of the same server.

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "dictionary/word_entry.h"
#include "engines/dictionary_engine.h"
#include "http/request_handler.h"
#include "http/service_server.h"

namespace {

using namespace parlavo::server;

DictionaryEngine& Engine() {
  static DictionaryEngine engine(DictionaryIndex::Load(PARLAVO_BENCH_DICTIONARY_INDEX));
  return engine;
}

std::string EncodeEveryByte(const std::string& text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string encoded;
  for (unsigned char byte : text) {
    encoded += '%';
    encoded += kHex[byte >> 4];
    encoded += kHex[byte & 0x0F];
  }
  return encoded;
}

// Up to `bytes` of UTF-8 made of whole repetitions of `sentence`.
std::string Repeated(const std::string& sentence, std::size_t bytes) {
  std::string text;
  while (text.size() + sentence.size() <= bytes) text += sentence;
  return text;
}

constexpr const char* kChinese = "今天天气很好，我们一起去公园散步吧。";

void BM_LoadDictionaryIndex(benchmark::State& state) {
  for (auto _ : state) {
    DictionaryIndex index = DictionaryIndex::Load(PARLAVO_BENCH_DICTIONARY_INDEX);
    benchmark::DoNotOptimize(index.chineseCount());
  }
}
BENCHMARK(BM_LoadDictionaryIndex)->Unit(benchmark::kMillisecond);

// One word's dictionary entry, as the step before the engines makes it.
void BM_WordEntry(benchmark::State& state) {
  static const DictionaryIndex index = DictionaryIndex::Load(PARLAVO_BENCH_DICTIONARY_INDEX);
  const std::vector<std::string> chinese{"打", "东西", "银行", "节"};
  const std::vector<std::string> english{"bank", "interest rates", "running", "book"};
  for (auto _ : state) {
    for (const std::string& word : chinese) benchmark::DoNotOptimize(ChineseWordEntry(index, word));
    for (const std::string& word : english) benchmark::DoNotOptimize(EnglishWordEntry(index, word));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * (chinese.size() + english.size())));
}
BENCHMARK(BM_WordEntry)->Unit(benchmark::kMicrosecond);

void HandleTranslation(benchmark::State& state, const std::string& sentence, const char* langpair,
                       std::size_t bytes = 1024) {
  MemoryBudget budget(ServerLimits().workMemory);
  const RequestHandler handler(Engine(), "127.0.0.1", false, budget);
  const std::string text = Repeated(sentence, bytes);
  const ServiceRequest request{"GET",
                               "/ajax/services/language/translate?v=1.0&q=" + EncodeEveryByte(text) +
                                   "&langpair=" + langpair,
                               {"127.0.0.1:8765"}};
  for (auto _ : state) {
    ServiceReply reply = handler.Handle(request);
    if (reply.status != 200) state.SkipWithError(reply.body.c_str());
    benchmark::DoNotOptimize(reply.body.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_Translate1KBChineseToEnglish(benchmark::State& state) {
  HandleTranslation(state, kChinese, "zh|en");
}
BENCHMARK(BM_Translate1KBChineseToEnglish)->Unit(benchmark::kMicrosecond);

// Long texts; service_footprint times them through the sockets.
void BM_HandleChineseWithoutSockets(benchmark::State& state) {
  HandleTranslation(state, kChinese, "zh|en", static_cast<std::size_t>(state.range(0)));
}
BENCHMARK(BM_HandleChineseWithoutSockets)->Arg(100 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

void BM_Translate1KBEnglishToChinese(benchmark::State& state) {
  HandleTranslation(state, "The weather is very good today, let us walk in the park together. ", "en|zh");
}
BENCHMARK(BM_Translate1KBEnglishToChinese)->Unit(benchmark::kMicrosecond);

void BM_Translate1KBDetectingTheSource(benchmark::State& state) {
  HandleTranslation(state, kChinese, "|en");
}
BENCHMARK(BM_Translate1KBDetectingTheSource)->Unit(benchmark::kMicrosecond);

class ServerOnLoopback {
 public:
  ServerOnLoopback() : m_server(Engine()), m_port(m_server.Serve("127.0.0.1", 0)) {}
  int port() const { return m_port; }

 private:
  ServiceServer m_server;
  int m_port;
};

void KeepAliveRequests(benchmark::State& state, const std::string& target, int expectedStatus) {
  static ServerOnLoopback server;
  httplib::Client client("127.0.0.1", server.port());
  client.set_keep_alive(true);
  for (auto _ : state) {
    const auto result = client.Get(target.c_str());
    if (!result || result->status != expectedStatus) state.SkipWithError("unexpected reply");
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_DetectKeepAlive(benchmark::State& state) {
  KeepAliveRequests(state, "/ajax/services/language/detect?v=1.0&q=" + EncodeEveryByte("How are you today?"), 200);
}
BENCHMARK(BM_DetectKeepAlive)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TrivialKeepAlive(benchmark::State& state) {
  KeepAliveRequests(state, "/unknown", 404);
}
BENCHMARK(BM_TrivialKeepAlive)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
