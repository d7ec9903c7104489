#include "service_fixture.h"

#include <arpa/inet.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <nlohmann/json.hpp>
#include <thread>

#include "http/query_string.h"
#include "indexer/index_writer.h"

namespace parlavo::server::testing {

using Clock = std::chrono::steady_clock;

namespace {

// Waits for input on `fd` until `deadline`; whether there is some.
bool Readable(int fd, Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  pollfd descriptor{fd, POLLIN, 0};
  return left > 0 && poll(&descriptor, 1, static_cast<int>(left)) > 0;
}

}  // namespace

DictionaryEngine& RealDictionaryEngine() {
  static DictionaryEngine engine(DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX));
  return engine;
}

TemporaryPath::TemporaryPath() {
  static std::atomic<int> counter = 0;
  path = std::filesystem::temp_directory_path() /
         ("parlavo-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
}

DictionaryIndex IndexOf(const DictionaryTables& tables) {
  TemporaryPath file;
  WriteDictionaryIndex(tables, file.path);
  return DictionaryIndex::Load(file.path);
}

std::string EncodeEveryByte(const std::string& text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string encoded;
  for (unsigned char byte : text) encoded += {'%', kHex[byte >> 4], kHex[byte & 0x0F]};
  return encoded;
}

RawConnection::RawConnection(int port) : m_socket(socket(AF_INET, SOCK_STREAM, 0)) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(m_socket);
    m_socket = -1;
  }
}

void RawConnection::Send(const std::string& bytes) {
  for (std::size_t sent = 0; m_socket >= 0 && sent < bytes.size();) {
    const ssize_t n = send(m_socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

std::string RawConnection::ReceiveAll(std::chrono::milliseconds limit) {
  std::string received;
  m_closedByPeer = false;
  const auto deadline = Clock::now() + limit;
  char buffer[4096];
  while (m_socket >= 0 && Readable(m_socket, deadline)) {
    const ssize_t n = recv(m_socket, buffer, sizeof buffer, 0);
    if (n <= 0) {
      m_closedByPeer = true;
      break;
    }
    received.append(buffer, static_cast<std::size_t>(n));
  }
  return received;
}

std::string Exchange(int port, const std::string& request) {
  RawConnection connection(port);
  connection.Send(request);
  return connection.ReceiveAll();
}

std::string Get(int port, const std::string& target, const std::string& headers) {
  return Exchange(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "Connection: close\r\n\r\n");
}

int StatusOf(const std::string& reply) {
  return reply.starts_with("HTTP/1.1 ") && reply.size() >= 12 ? std::atoi(reply.substr(9, 3).c_str()) : 0;
}

std::string BodyOf(const std::string& reply) {
  const auto end = reply.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : reply.substr(end + 4);
}

// The shell prints its own process id, which the service keeps when the
// shell replaces itself with it.
ChildProcess::ChildProcess(const std::string& command, std::optional<int> passedSocket) {
  const std::string systemd = passedSocket ? "export LISTEN_PID=$$ LISTEN_FDS=1; " : "";
  const std::string passed = passedSocket ? " 3<&" + std::to_string(*passedSocket) : "";
  m_pipe = popen(("echo $$; " + systemd + "exec " + command + passed + " 2>&1").c_str(), "r");
  m_pid = std::atoi(ReadErrorLine().c_str());
}

ChildProcess::~ChildProcess() {
  Signal(SIGKILL);
  if (m_pid > 0 && !m_reaped) waitpid(m_pid, nullptr, 0);
  pclose(m_pipe);
}

std::string ChildProcess::ReadErrorLine() {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  char chunk[512];
  for (ssize_t n = 1; m_buffer.find('\n') == std::string::npos && n > 0 && Readable(fileno(m_pipe), deadline);) {
    n = read(fileno(m_pipe), chunk, sizeof chunk);
    if (n > 0) m_buffer.append(chunk, static_cast<std::size_t>(n));
  }
  const auto end = std::min(m_buffer.find('\n'), m_buffer.size());
  std::string line = m_buffer.substr(0, end);
  m_buffer.erase(0, end + 1);
  return line;
}

int ChildProcess::AnnouncedPort() {
  const std::string line = ReadErrorLine();
  const auto at = line.find("127.0.0.1:");
  return at == std::string::npos ? 0 : std::atoi(line.c_str() + at + 10);
}

int ChildProcess::Wait(std::chrono::milliseconds limit) {
  for (const auto deadline = Clock::now() + limit; m_pid > 0 && !m_reaped && Clock::now() < deadline;) {
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
      m_reaped = true;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

FakeUpstream::FakeUpstream() {
  // Bodies read through a content reader: the library refuses form bodies
  // over 8 KiB by itself, and chunks of Chinese are longer.
  m_server.server().Post("/translate_a/single", [this](const httplib::Request&, httplib::Response& response,
                                                       const httplib::ContentReader& content) {
    std::string body;
    content([&](const char* data, std::size_t length) { return body.append(data, length), true; });
    const auto form = ParseQuery(body);
    const std::string query = form && form->contains("q") ? form->at("q") : "";
    Reply(query, "[[[" + nlohmann::json("<" + query + ">").dump() + R"(,"?"]],null,"zh-CN"])", response);
  });
  m_server.server().Post("/translate", [this](const httplib::Request& request, httplib::Response& response) {
    const std::string query = nlohmann::json::parse(request.body, nullptr, false).value("q", "");
    Reply(query, nlohmann::json{{"translatedText", "<" + query + ">"}}.dump(), response);
  });
  m_server.server().Get("/frontend/settings", [this](const httplib::Request&, httplib::Response& response) {
    std::lock_guard lock(m_mutex);
    response.set_content(nlohmann::json{{"charLimit", m_charLimit}}.dump(), "application/json");
  });
  m_server.Start();
}

void FakeUpstream::Reply(const std::string& query, const std::string& echo, httplib::Response& response) {
  std::lock_guard lock(m_mutex);
  m_queries.push_back(query);
  response.status = m_status;
  response.set_content(m_reply.value_or(echo), "application/json; charset=UTF-8");
}

}  // namespace parlavo::server::testing
