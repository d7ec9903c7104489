#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace parlavo::server {

// Closes a connection whose request takes longer than `limit` to arrive and
// be answered. libmicrohttpd's own timeout restarts with every byte, so a
// client sending one header byte every few seconds would otherwise keep its
// connection, and the memory it holds, for ever. A watcher thread checks
// once a second; the work on a request (the engine) is not counted.
class ConnectionDeadlines {
 public:
  using Clock = std::chrono::steady_clock;

  // `eachSecond` runs on the watcher thread after each check.
  ConnectionDeadlines(Clock::duration limit, std::function<void()> eachSecond);
  ~ConnectionDeadlines();
  ConnectionDeadlines(const ConnectionDeadlines&) = delete;
  ConnectionDeadlines& operator=(const ConnectionDeadlines&) = delete;

  // A connection was accepted on `socket`: its first request's time runs.
  void Open(const void* connection, int socket);
  // The engine works on the connection's request: its time stops.
  void Pause(const void* connection);
  // Its reply is queued, or sent: the time for the reply, or for the next
  // request on a kept-alive connection, runs from now.
  void Restart(const void* connection);
  // Closed; called before its socket is closed, so that a watcher never
  // touches a descriptor number the system has given to someone else.
  void Close(const void* connection);

 private:
  struct Entry {
    int socket;
    Clock::time_point deadline;
  };
  void Watch();

  const Clock::duration m_limit;
  const std::function<void()> m_eachSecond;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_stopping = false;
  std::unordered_map<const void*, Entry> m_entries;
  std::thread m_watcher;
};

}  // namespace parlavo::server
