#pragma once

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "engines/dictionary_engine.h"
#include "http/service_server.h"
#include "indexer/index_builder.h"
#include "text/percent_coding.h"

// The service layer's fixture: the service on an ephemeral port of
// 127.0.0.1 and raw connections to it.
namespace parlavo::server::testing {

// The engine over the index the build made from CC-CEDICT, loaded once.
DictionaryEngine& RealDictionaryEngine();

// A path in the temporary directory, removed (with what it holds) by the object.
struct TemporaryPath {
  TemporaryPath();
  ~TemporaryPath() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};

// An index of the given tables, written and loaded the way the service does.
DictionaryIndex IndexOf(const DictionaryTables& tables);

class RunningService {
 public:
  explicit RunningService(TranslationEngine& engine, ServerLimits limits = {})
      : m_server(engine, limits), m_port(m_server.Serve("127.0.0.1", 0)) {}
  int port() const { return m_port; }

 private:
  ServiceServer m_server;
  int m_port;
};

class RawConnection {
 public:
  explicit RawConnection(int port);
  ~RawConnection() { close(m_socket); }
  void Send(const std::string& bytes);
  // Everything until the server closes the connection or `limit` passes.
  std::string ReceiveAll(std::chrono::milliseconds limit = std::chrono::seconds(10));
  bool closedByPeer() const { return m_closedByPeer; }

 private:
  int m_socket;
  bool m_closedByPeer = false;
};

// Whether `fd` has input before `deadline`.
bool Readable(int fd, std::chrono::steady_clock::time_point deadline);

// One request on a connection of its own; the whole reply.
std::string Exchange(int port, const std::string& request);
// GET `target` with Host 127.0.0.1, `headers` and Connection: close.
std::string Get(int port, const std::string& target, const std::string& headers = "");
int StatusOf(const std::string& reply);
std::string BodyOf(const std::string& reply);

}  // namespace parlavo::server::testing
