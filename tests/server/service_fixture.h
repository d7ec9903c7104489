#pragma once

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engines/dictionary_engine.h"
#include "http/service_server.h"
#include "indexer/index_builder.h"
#include "loopback_server.h"

// The service layer's one fixture: the service on an ephemeral port of
// 127.0.0.1, raw connections to it, its executable as a child, and one fake
// upstream for the online engines.
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

// "%e4%bd%a0": every byte percent-encoded, as the desktop client sends text.
std::string EncodeEveryByte(const std::string& text);

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

// One request on a connection of its own; the whole reply.
std::string Exchange(int port, const std::string& request);
// GET `target` with Host 127.0.0.1, `headers` and Connection: close.
std::string Get(int port, const std::string& target, const std::string& headers = "");
int StatusOf(const std::string& reply);
std::string BodyOf(const std::string& reply);

// A command run by the shell as a child process, its standard error read by
// the test. `passedSocket` goes to descriptor 3 with LISTEN_PID/LISTEN_FDS,
// the way systemd's socket activation passes it.
class ChildProcess {
 public:
  explicit ChildProcess(const std::string& command, std::optional<int> passedSocket = std::nullopt);
  ~ChildProcess();
  std::string ReadErrorLine();  // the next line of standard error; empty at its end or after 10 s
  int AnnouncedPort();          // from the line the service writes when it is ready
  void Signal(int signal) { if (m_pid > 0 && !m_reaped) kill(m_pid, signal); }
  int Wait(std::chrono::milliseconds limit = std::chrono::seconds(10));  // exit code, -1 if none in time

 private:
  FILE* m_pipe;
  int m_pid = -1;
  bool m_reaped = false;
  std::string m_buffer;
};

// Google's web endpoint and a LibreTranslate server in one. Answers what the
// test sets, or by default "<q>" for each q, so that chunks show.
class FakeUpstream {
 public:
  FakeUpstream();
  void Answer(int status, std::string reply) {
    std::lock_guard lock(m_mutex);
    m_status = status;
    m_reply = std::move(reply);
  }
  void SetCharLimit(int limit) {  // LibreTranslate's /frontend/settings
    std::lock_guard lock(m_mutex);
    m_charLimit = limit;
  }
  std::vector<std::string> Queries() const {
    std::lock_guard lock(m_mutex);
    return m_queries;
  }
  std::string Url() const { return m_server.Url(); }

 private:
  void Reply(const std::string& query, const std::string& echo, httplib::Response& response);

  mutable std::mutex m_mutex;
  int m_status = 200, m_charLimit = -1;
  std::optional<std::string> m_reply;
  std::vector<std::string> m_queries;
  parlavo::testing::LoopbackServer m_server;
};

}  // namespace parlavo::server::testing
