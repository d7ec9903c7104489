#include <benchmark/benchmark.h>

#include <clocale>

#include "loopback_server.h"
#include "services/translation_client.h"

namespace parlavo {
namespace {

// Client-side cost of one press of the button: two requests to a loopback
// service that answers at once.
void BM_TranslateForDisplay(benchmark::State& state) {
  std::setlocale(LC_ALL, "C.UTF-8");
  testing::LoopbackServer server;
  server.server().Get(".*", [](const httplib::Request& request, httplib::Response& response) {
    const bool detect = request.target.find("/detect?") != std::string::npos;
    response.set_content(detect ? R"({"responseData":{"language":"en"}})"
                                : R"({"responseData":{"translatedText":"你好"}})",
                         "text/javascript; charset=utf-8");
  });
  server.Start();
  testing::ProxyRoute route(server);
  LanguageTable table;
  FillLanguageTable(table);
  for (auto _ : state) benchmark::DoNotOptimize(TranslateForDisplay(table, "hello", "中文"));
}
BENCHMARK(BM_TranslateForDisplay)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace parlavo
