#include "http/connection_deadlines.h"

#include "platform/listening_socket.h"

namespace parlavo::server {

ConnectionDeadlines::ConnectionDeadlines(Clock::duration limit, std::function<void()> eachSecond)
    : m_limit(limit), m_eachSecond(std::move(eachSecond)), m_watcher([this] { Watch(); }) {}

ConnectionDeadlines::~ConnectionDeadlines() {
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_one();
  m_watcher.join();
}

void ConnectionDeadlines::Open(const void* connection, int socket) {
  std::lock_guard lock(m_mutex);
  m_entries[connection] = {socket, Clock::now() + m_limit};
}

void ConnectionDeadlines::Pause(const void* connection) {
  std::lock_guard lock(m_mutex);
  if (const auto found = m_entries.find(connection); found != m_entries.end()) {
    found->second.deadline = Clock::time_point::max();
  }
}

void ConnectionDeadlines::Restart(const void* connection) {
  std::lock_guard lock(m_mutex);
  if (const auto found = m_entries.find(connection); found != m_entries.end()) {
    found->second.deadline = Clock::now() + m_limit;
  }
}

void ConnectionDeadlines::Close(const void* connection) {
  std::lock_guard lock(m_mutex);
  m_entries.erase(connection);
}

void ConnectionDeadlines::Watch() {
  std::unique_lock lock(m_mutex);
  while (!m_wake.wait_for(lock, std::chrono::seconds(1), [this] { return m_stopping; })) {
    const auto now = Clock::now();
    for (auto& [connection, entry] : m_entries) {
      if (entry.deadline > now) continue;
      ShutDownConnection(entry.socket);
      entry.deadline = Clock::time_point::max();
    }
    lock.unlock();
    m_eachSecond();
    lock.lock();
  }
}

}  // namespace parlavo::server
