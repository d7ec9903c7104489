#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <thread>

#include "http/request_handler.h"
#include "service_fixture.h"

// The service executable: it starts, serves, stops and refuses to start the
// way its users and systemd expect.
namespace parlavo::server {
namespace {

using namespace testing;

// A command run by the shell, its standard error read by the test. The
// shell prints its own process id, which the command keeps as the shell
// replaces itself with it. `passedSocket` goes to descriptor 3 with
// LISTEN_PID/LISTEN_FDS, the way systemd's socket activation passes it.
class ChildProcess {
 public:
  explicit ChildProcess(const std::string& command, std::optional<int> passedSocket = std::nullopt) {
    const std::string systemd = passedSocket ? "export LISTEN_PID=$$ LISTEN_FDS=1; " : "";
    const std::string passed = passedSocket ? " 3<&" + std::to_string(*passedSocket) : "";
    m_pipe = popen(("echo $$; " + systemd + "exec " + command + passed + " 2>&1").c_str(), "r");
    m_pid = std::atoi(ReadErrorLine().c_str());
  }
  ~ChildProcess() {
    Signal(SIGKILL);
    if (m_pid > 0 && !m_reaped) waitpid(m_pid, nullptr, 0);
    pclose(m_pipe);
  }
  // The next line of standard error; empty at its end or after 10 s.
  std::string ReadErrorLine() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
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
  // From the line the service writes when it is ready.
  int AnnouncedPort() {
    const std::string line = ReadErrorLine();
    const auto at = line.find("127.0.0.1:");
    return at == std::string::npos ? 0 : std::atoi(line.c_str() + at + 10);
  }
  void Signal(int signal) {
    if (m_pid > 0 && !m_reaped) kill(m_pid, signal);
  }
  // The exit code; -1 if none in time.
  int Wait(std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    for (const auto deadline = std::chrono::steady_clock::now() + limit;
         m_pid > 0 && !m_reaped && std::chrono::steady_clock::now() < deadline;) {
      int status = 0;
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_reaped = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }

 private:
  FILE* m_pipe;
  int m_pid = -1;
  bool m_reaped = false;
  std::string m_buffer;
};

const std::string kService = std::string("'") + PARLAVO_SERVICE_EXECUTABLE + "'";
const std::string kOffline = " --engine dictionary --listen 127.0.0.1:";

std::string Translate(int port, const std::string& text, const std::string& langpair) {
  return Get(port, "/ajax/services/language/translate?v=1.0&q=" + PercentEncodeEveryByte(text) + "&langpair=" + langpair);
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(ServiceProcessTest, TranslatesLongTextsWholeAndStopsOnSigtermWithSlowClientsConnected) {
  ChildProcess service(kService + kOffline + "0");
  const int port = service.AnnouncedPort();
  ASSERT_GT(port, 0);
  std::string chinese, english, mebibyte;
  while (chinese.size() < 3000 * 3) chinese += "我爱你。";  // 3 000 characters
  while (english.size() < 20000) english += "Hello world. ";
  while (mebibyte.size() + 12 <= kMaxTextBytes) mebibyte += "我爱你。";
  EXPECT_EQ(Count(Translate(port, chinese, "zh|en"), "I love you."), 750u);
  EXPECT_EQ(Count(Translate(port, english, "en|zh"), "你好世界。"), english.size() / 13);
  // Unencoded this time: a 1 MiB text also arrives as plain UTF-8 bytes. Its translation
  // takes seconds under the sanitizers on a busy machine, so this reply is waited for longer.
  RawConnection whole(port);
  whole.Send("GET /ajax/services/language/translate?v=1.0&langpair=zh|en&q=" + mebibyte +
             " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(StatusOf(whole.ReceiveAll(std::chrono::seconds(60))), 200);

  std::vector<std::unique_ptr<RawConnection>> slow;
  for (int i = 0; i < 40; ++i) {
    slow.push_back(std::make_unique<RawConnection>(port));
    slow.back()->Send("GET /ajax/services");
  }
  service.Signal(SIGTERM);
  EXPECT_EQ(service.Wait(std::chrono::seconds(3)), 0);
  for (auto& connection : slow) {
    connection->ReceiveAll(std::chrono::seconds(1));
    EXPECT_TRUE(connection->closedByPeer());
  }
}

TEST(ServiceProcessTest, ServesASocketPassedBySystemd) {
  const int listening = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listening, 16), 0);
  socklen_t length = sizeof address;
  getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length);
  const int port = ntohs(address.sin_port);

  // The port in --listen is taken already: only the passed socket can work.
  ChildProcess service(kService + kOffline + std::to_string(port), listening);
  close(listening);
  EXPECT_NE(service.ReadErrorLine().find("systemd"), std::string::npos);
  EXPECT_NE(Translate(port, "你好，世界", "zh|en").find(R"("translatedText":"Hello, world")"), std::string::npos);
  // A single word gets its dictionary entry, through the step before the engines.
  EXPECT_NE(Translate(port, "你好", "zh|en").find(R"("translatedText":"你好 nǐhǎo\n)"), std::string::npos);
  service.Signal(SIGTERM);
  EXPECT_EQ(service.Wait(), 0);
}

TEST(ServiceProcessTest, RefusesToStartWithoutItsDataOrOnAPortInUse) {
  TemporaryPath directory;
  std::filesystem::create_directories(directory.path / "bin");
  std::filesystem::copy_file(PARLAVO_SERVICE_EXECUTABLE, directory.path / "bin" / "parlavo-service");
  ChildProcess bare((directory.path / "bin" / "parlavo-service").string() + kOffline + "0");
  EXPECT_NE(bare.ReadErrorLine().find("share/parlavo/cedict.idx"), std::string::npos) << "names what it looked for";
  EXPECT_EQ(bare.Wait(), 1);

  ChildProcess first(kService + kOffline + "0");
  ChildProcess second(kService + kOffline + std::to_string(first.AnnouncedPort()));
  EXPECT_NE(second.ReadErrorLine().find("端口已被占用"), std::string::npos);
  EXPECT_EQ(second.Wait(), 1);
}

}  // namespace
}  // namespace parlavo::server
