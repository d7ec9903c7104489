#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "command_line.h"
#include "dictionary/dictionary_index.h"
#include "engines/dictionary_engine.h"
#include "engines/engine_chain.h"
#include "engines/google_engine.h"
#include "engines/libretranslate_engine.h"
#include "engines/microsoft_engine.h"
#include "engines/service_log.h"
#include "engines/transmart_engine.h"
#include "engines/word_entry_engine.h"
#include "http/service_server.h"
#include "platform/executable_path.h"
#include "platform/heap.h"
#include "platform/listening_socket.h"
#include "platform/termination_signals.h"

namespace {

using namespace parlavo::server;

std::unique_ptr<TranslationEngine> MakeEngineChain(const ServiceOptions& options) {
  // Word entries answer before any engine, so the index is loaded whatever the chain.
  const auto index = std::make_shared<const DictionaryIndex>(
      DictionaryIndex::Load(ExecutableDirectory() / ".." / "share" / "parlavo" / "cedict.idx"));
  std::vector<EngineChain::Link> links;
  for (const std::string& name : options.engines) {
    if (name == "microsoft") {
      links.push_back({name, "微软翻译", true, std::make_unique<MicrosoftEngine>(options.microsoftUrl)});
    } else if (name == "transmart") {
      links.push_back({name, "腾讯交互翻译", true, std::make_unique<TransmartEngine>(options.transmartUrl)});
    } else if (name == "google") {
      links.push_back({name, "Google 翻译", true, std::make_unique<GoogleEngine>(options.googleUrl)});
    } else if (name == "libretranslate") {
      links.push_back({name, "LibreTranslate", true,
                       std::make_unique<LibreTranslateEngine>(options.libretranslateUrl, options.libretranslateKey)});
    } else {
      links.push_back({name, "离线词典", false, std::make_unique<DictionaryEngine>(index)});
    }
  }
  return std::make_unique<WordEntryEngine>(index, std::make_unique<EngineChain>(std::move(links)));
}

std::string Joined(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ",") + name;
  return joined;
}

}  // namespace

int main(int argc, char** argv) {
  ServiceOptions options;
  try {
    options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    WriteToStandardError(error.what());
    return 2;
  }
  if (options.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  try {
    BlockTerminationSignals();
    KeepHeapSmall();
    const auto passedSocket = TakePassedListeningSocket();
    const auto engine = MakeEngineChain(options);
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
                 Joined(options.engines).c_str());
    if (server.reachableFromNetwork()) {
      std::fprintf(stderr,
                   "parlavo-service：注意：%s 不是本机回环地址，局域网中的其他计算机也能使用本服务"
                   "（只在本机使用请监听 127.0.0.1）\n",
                   address.c_str());
    }
    WaitForTerminationSignal();
    // Stop closes every connection at once, then waits for the threads of
    // requests still in an engine; systemd and users wait 3 s at most.
    ExitAfter(std::chrono::seconds(2));
    server.Stop();
    return 0;
  } catch (const std::exception& error) {
    WriteToStandardError(error.what());
    return 1;
  }
}
