#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "child_process.h"
#include "http/request_handler.h"
#include "raw_connection.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

using testing::ChildProcess;

const std::string kExecutable = PARLAVO_SERVICE_EXECUTABLE;
const std::string kRequest =
    "GET /ajax/services/language/translate?v=1.0&q=%e4%bd%a0%e5%a5%bd&langpair=zh|en HTTP/1.1\r\n"
    "Host: 127.0.0.1\r\nConnection: close\r\n\r\n";

// The port from the line the service writes when it is ready.
int AnnouncedPort(const std::string& line) {
  const auto at = line.find("127.0.0.1:");
  return at == std::string::npos ? 0 : std::atoi(line.c_str() + at + 10);
}

std::string Translate(int port, const std::string& text, const std::string& langpair) {
  return testing::Exchange(port, "GET /ajax/services/language/translate?v=1.0&q=" + testing::EncodeEveryByte(text) +
                                     "&langpair=" + langpair + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(ServiceExecutableTest, FindsItsDictionaryBesideItselfAndStopsOnSigtermWithSlowClientsConnected) {
  ChildProcess service(kExecutable, {"--listen", "127.0.0.1:0", "--engine", "dictionary"});
  const std::string ready = service.ReadErrorLine();
  const int port = AnnouncedPort(ready);
  ASSERT_GT(port, 0) << ready;
  EXPECT_NE(ready.find("dictionary"), std::string::npos) << ready;
  const std::string reply = testing::Exchange(port, kRequest);
  EXPECT_EQ(testing::StatusOf(reply), 200) << reply;
  EXPECT_NE(reply.find(R"("translatedText":"Hello")"), std::string::npos) << reply;

  std::vector<std::unique_ptr<testing::RawConnection>> slow;
  for (int i = 0; i < 40; ++i) {
    slow.push_back(std::make_unique<testing::RawConnection>(port));
    slow.back()->Send(kRequest.substr(0, 20));
  }
  service.Signal(SIGTERM);
  EXPECT_EQ(service.Wait(std::chrono::seconds(3)), 0);
  for (auto& connection : slow) {
    connection->ReceiveAll(std::chrono::seconds(1));
    EXPECT_TRUE(connection->closedByPeer());
  }
}

TEST(ServiceExecutableTest, TranslatesLongTextsWhole) {
  ChildProcess service(kExecutable, {"--listen", "127.0.0.1:0", "--engine", "dictionary"});
  const int port = AnnouncedPort(service.ReadErrorLine());
  ASSERT_GT(port, 0);
  std::string chinese;
  while (chinese.size() < 3000 * 3) chinese += "我爱你。";  // 3 000 characters
  const std::string chineseReply = Translate(port, chinese, "zh|en");
  EXPECT_EQ(testing::StatusOf(chineseReply), 200);
  EXPECT_EQ(Count(chineseReply, "I love you."), 750u);

  std::string english;
  while (english.size() < 20000) english += "Hello world. ";
  const std::string englishReply = Translate(port, english, "en|zh");
  EXPECT_EQ(testing::StatusOf(englishReply), 200);
  EXPECT_EQ(Count(englishReply, "你好世界。"), english.size() / 13);

  std::string mebibyte;
  while (mebibyte.size() + 12 <= kMaxTextBytes) mebibyte += "我爱你。";
  EXPECT_EQ(testing::StatusOf(Translate(port, mebibyte, "zh|en")), 200);
}

TEST(ServiceExecutableTest, ServesASocketPassedBySystemd) {
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
  ChildProcess service(kExecutable, {"--listen", "127.0.0.1:" + std::to_string(port), "--engine", "dictionary"},
                       listening);
  close(listening);
  const std::string ready = service.ReadErrorLine();
  EXPECT_NE(ready.find("systemd"), std::string::npos) << ready;
  const std::string reply = testing::Exchange(port, kRequest);
  EXPECT_EQ(testing::StatusOf(reply), 200) << reply;
  EXPECT_NE(reply.find(R"("translatedText":"Hello")"), std::string::npos) << reply;
  service.Signal(SIGTERM);
  EXPECT_EQ(service.Wait(), 0);
}

TEST(ServiceExecutableTest, ExplainsWhyItCannotStart) {
  ChildProcess badOption(kExecutable, {"--engine", "deepl"});
  EXPECT_NE(badOption.ReadErrorLine().find("未知的翻译引擎：deepl"), std::string::npos);
  EXPECT_EQ(badOption.Wait(), 2);

  // A copy of the program without the data beside it.
  testing::TemporaryFile directory("parlavo-bare");
  std::filesystem::create_directories(directory.path() / "bin");
  const auto copy = directory.path() / "bin" / "parlavo-service";
  std::filesystem::copy_file(kExecutable, copy);
  ChildProcess bare(copy.string(), {"--listen", "127.0.0.1:0", "--engine", "dictionary"});
  const std::string error = bare.ReadErrorLine();
  EXPECT_NE(error.find("无法打开词典索引文件"), std::string::npos) << error;
  EXPECT_NE(error.find("share/parlavo/cedict.idx"), std::string::npos) << error;
  EXPECT_EQ(bare.Wait(), 1);
  std::filesystem::remove_all(directory.path());

  ChildProcess first(kExecutable, {"--listen", "127.0.0.1:0", "--engine", "dictionary"});
  const int port = AnnouncedPort(first.ReadErrorLine());
  ChildProcess second(kExecutable, {"--listen", "127.0.0.1:" + std::to_string(port), "--engine", "dictionary"});
  EXPECT_NE(second.ReadErrorLine().find("端口已被占用"), std::string::npos);
  EXPECT_EQ(second.Wait(), 1);

  ChildProcess help(kExecutable, {"--help"});
  EXPECT_EQ(help.Wait(), 0);
}

}  // namespace
}  // namespace parlavo::server
