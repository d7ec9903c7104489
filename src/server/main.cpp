#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "command_line.h"
#include "dictionary/dictionary_index.h"
#include "engines/dictionary_engine.h"
#include "engines/google_engine.h"
#include "engines/libretranslate_engine.h"
#include "http/service_server.h"
#include "platform/executable_path.h"
#include "platform/listening_socket.h"
#include "platform/termination_signals.h"

namespace {

using namespace parlavo::server;

constexpr const char* kEngineNames[] = {"dictionary", "libretranslate", "google"};

std::unique_ptr<TranslationEngine> MakeEngine(const ServiceOptions& options) {
  switch (options.engine) {
    case EngineKind::Dictionary:
      return std::make_unique<DictionaryEngine>(
          DictionaryIndex::Load(ExecutableDirectory() / ".." / "share" / "parlavo" / "cedict.idx"));
    case EngineKind::LibreTranslate:
      return std::make_unique<LibreTranslateEngine>(options.upstream);
    case EngineKind::Google:
      return std::make_unique<GoogleEngine>(options.upstream.empty() ? GoogleEngine::kDefaultBaseUrl
                                                                      : options.upstream);
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  ServiceOptions options;
  try {
    options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    std::fprintf(stderr, "parlavo-service：%s\n", error.what());
    return 2;
  }
  if (options.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  try {
    BlockTerminationSignals();
    const auto passedSocket = TakePassedListeningSocket();
    const auto engine = MakeEngine(options);
    ServiceServer server(*engine);
    std::string address;
    if (passedSocket) {
      server.Adopt(*passedSocket);
      address = "systemd 传入的套接字（" + server.listenHost() + "）";
    } else {
      const int port = server.Serve(options.host, options.port);
      const bool ipv6 = options.host.find(':') != std::string::npos;
      address = (ipv6 ? "[" + options.host + "]" : options.host) + ":" + std::to_string(port);
    }
    std::fprintf(stderr, "parlavo-service：在 %s 上提供翻译服务（引擎：%s）\n", address.c_str(),
                 kEngineNames[static_cast<int>(options.engine)]);
    if (server.reachableFromNetwork()) {
      std::fprintf(stderr,
                   "parlavo-service：注意：%s 不是本机回环地址，局域网中的其他计算机也能使用本服务"
                   "（只在本机使用请监听 127.0.0.1）\n",
                   address.c_str());
    }
    WaitForTerminationSignal();
    ExitAfter(std::chrono::seconds(3));
    server.Stop();
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "parlavo-service：%s\n", error.what());
    return 1;
  }
}
