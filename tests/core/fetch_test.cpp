// Fetching over HTTP, and the limits that keep a misbehaving server from
// freezing the window or eating its memory. All servers are on 127.0.0.1;
// the client's fixed hosts reach them through the proxy route.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <condition_variable>
#include <thread>

#include "loopback_server.h"
#include "services/translation_client.h"
#include "services/update_checker.h"
#include "short_limits.h"
#include "text/utf8.h"

namespace parlavo {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackServer;
using testing::ProxyRoute;
using testing::ShortLimits;

constexpr const char* kHost = "parlavo-test.invalid";
std::string AddressOn(const std::string& path) { return std::string("http://") + kHost + path; }

// Holds misbehaving handlers until the test is over (the server can only
// stop once its handlers have returned), or for 10 s: a client that waits
// longer fails rather than hangs.
struct Gate {
  void Wait() {
    std::unique_lock lock(mutex);
    opened.wait_for(lock, 10s, [this] { return open; });
  }
  void Open() {
    std::lock_guard lock(mutex);
    open = true;
    opened.notify_all();
  }
  std::mutex mutex;
  std::condition_variable opened;
  bool open = false;
};

class FetchTest : public ::testing::Test {
 protected:
  ~FetchTest() override { m_gate->Open(); }
  httplib::Server& server() { return m_server.server(); }
  void Start() {
    m_server.Start();
    m_route = std::make_unique<ProxyRoute>(m_server);
  }
  void Serve(const std::string& body, int status = 200) {
    server().Get(".*", [=](const httplib::Request&, httplib::Response& response) {
      response.status = status;
      response.set_content(body, "text/plain");
    });
    Start();
  }

  LoopbackServer m_server;
  std::shared_ptr<Gate> m_gate = std::make_shared<Gate>();
  std::unique_ptr<ProxyRoute> m_route;
};

// The message of the InternetError that `request` throws, or "" (a failure).
std::string NetworkErrorOf(const std::function<void()>& request) {
  try {
    request();
    ADD_FAILURE() << "the request came back normally";
  } catch (const InternetError& error) {
    return error.what();
  }
  return "";
}

// As the user reads it: Chinese, UTF-8 whatever the locale, naming the host.
void ExpectChineseErrorNaming(const std::string& message, const std::string& host, const char* says) {
  EXPECT_EQ(message.rfind("网络错误：", 0), 0u) << message;
  EXPECT_NE(message.find(host), std::string::npos) << message << " does not name " << host;
  EXPECT_NE(message.find(says), std::string::npos) << message << " does not say " << says;
  EXPECT_TRUE(IsValidUtf8(message)) << message;
}

struct Misbehaviour {
  const char* name;
  const char* says;
  void (*serve)(httplib::Server&, std::shared_ptr<Gate>);  // null: nothing listens
};

// Promises a longer body than `head`; then waits (stall) or closes (cut).
void SendHead(httplib::Server& server, std::shared_ptr<Gate> gate, std::string head, bool stall) {
  server.Get(".*", [=](const httplib::Request&, httplib::Response& response) {
    response.set_content_provider(head.size() + 1000, "text/plain",
                                  [=](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                    if (offset == 0) return sink.write(head.data(), head.size());
                                    if (stall) gate->Wait();
                                    return false;
                                  });
  });
}

const Misbehaviour kMisbehaviours[] = {
    {"refused", "无法连接", nullptr},
    {"silent", "超时",
     [](httplib::Server& s, std::shared_ptr<Gate> gate) {
       s.Get(".*", [gate](const httplib::Request&, httplib::Response&) { gate->Wait(); });
     }},
    {"stalled", "超时", [](httplib::Server& s, std::shared_ptr<Gate> gate) { SendHead(s, gate, "version=9\r\ntra", true); }},
    {"cut_short", "中断", [](httplib::Server& s, std::shared_ptr<Gate> gate) { SendHead(s, gate, "{\"a\":\"half", false); }},
    {"reset", "中断",
     [](httplib::Server& s, std::shared_ptr<Gate> gate) {
       // A zero linger time makes the close abortive: the peer gets a reset.
       s.set_socket_options([](socket_t socket) {
         const linger abortive{1, 0};
         setsockopt(socket, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
       });
       SendHead(s, gate, std::string(64 * 1024, 'x'), false);
     }},
    {"endless", "过大",
     [](httplib::Server& s, std::shared_ptr<Gate>) {
       s.Get(".*", [](const httplib::Request&, httplib::Response& response) {
         response.set_chunked_content_provider("text/plain", [](std::size_t, httplib::DataSink& sink) {
           static const std::string line = std::string(1023, '\xE4') + "\n";
           return sink.write(line.data(), line.size());
         });
       });
     }},
    {"huge_length", "过大",
     [](httplib::Server& s, std::shared_ptr<Gate>) {
       s.Get(".*", [](const httplib::Request&, httplib::Response& response) {
         response.set_content_provider(std::size_t{1} << 40, "text/plain",
                                       [](std::size_t, std::size_t, httplib::DataSink& sink) {
                                         static const std::string block(64 * 1024, 'b');
                                         return sink.write(block.data(), block.size());
                                       });
       });
     }},
    {"redirect_loop", "重定向",
     [](httplib::Server& s, std::shared_ptr<Gate>) {
       s.Get(".*", [](const httplib::Request&, httplib::Response& response) {
         response.set_redirect(AddressOn("/loop"));
       });
     }},
};

class MisbehavingServerTest : public FetchTest, public ::testing::WithParamInterface<Misbehaviour> {};

// Every fetch ends, in an error the user can read, for the translation
// (in the GBK locale too) and for the update check alike.
TEST_P(MisbehavingServerTest, EndsInAChineseErrorNamingTheHost) {
  if (GetParam().serve) {
    GetParam().serve(server(), m_gate);
    Start();
  } else {
    m_route = std::make_unique<ProxyRoute>(testing::RefusingProxyUrl());
  }
  const char* says = GetParam().says;
  ExpectChineseErrorNaming(NetworkErrorOf([] { FetchUrlText(AddressOn(":8080/x"), ShortLimits()); }),
                           std::string(kHost) + ":8080", says);
  testing::ScopedLocale gbk("zh_CN.GBK");
  LanguageTable table;
  FillLanguageTable(table);
  ExpectChineseErrorNaming(NetworkErrorOf([&] { TranslateForDisplay(table, "\xC4\xE3", table[1].name, ShortLimits()); }),
                           SERVICE_HOST, says);
  CUpdateChecker checker(UPDATE_URL, UPDATE_KEY, ShortLimits());
  ExpectChineseErrorNaming(NetworkErrorOf([&] { checker.CheckForUpdate(CURRENT_VERSION); }), PARLAVO_TEST_MAKER_HOST, says);
}

INSTANTIATE_TEST_SUITE_P(Fetch, MisbehavingServerTest, ::testing::ValuesIn(kMisbehaviours),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FetchTest, JoinsBodyLinesOfAnyStatusAndSendsTheAddressByteForByte) {
  std::string agent;
  server().Get(".*", [&agent](const httplib::Request& request, httplib::Response& response) {
    agent = request.get_header_value("User-Agent");
    response.status = request.target.ends_with("/missing") ? 404 : 200;
    response.set_content("ab\r\ncd\nef", "text/plain");
  });
  Start();
  const Text url = AddressOn("/p?v=1.0&q=%e4%b8%ad&langpair=en|zh");
  EXPECT_EQ(FetchUrlText(url, ShortLimits()), "abcdef");
  EXPECT_EQ(FetchUrlText(AddressOn("/missing"), ShortLimits()), "abcdef");
  EXPECT_EQ(m_server.Targets(), (std::vector<std::string>{url, AddressOn("/missing")}));
  EXPECT_EQ(agent, "Parlavo");
}

TEST_F(FetchTest, SizeCapIsExact) {
  FetchLimits limits = ShortLimits();
  limits.maxBodyBytes = 256 * 1024;
  server().Get(".*", [&limits](const httplib::Request& request, httplib::Response& response) {
    response.set_content(std::string(limits.maxBodyBytes + request.target.ends_with("/over"), 'x'), "text/plain");
  });
  Start();
  EXPECT_EQ(FetchUrlText(AddressOn("/at"), limits).size(), limits.maxBodyBytes);
  ExpectChineseErrorNaming(NetworkErrorOf([&] { FetchUrlText(AddressOn("/over"), limits); }), kHost, "过大");
}

TEST_F(FetchTest, RedirectsAreFollowedOverHttpOnly) {
  server().Get(".*", [](const httplib::Request& request, httplib::Response& response) {
    const std::string to = request.target.substr(request.target.rfind('/') + 1);
    if (to == "new") return response.set_content("root: moved here", "text/plain");
    response.set_redirect(to == "http" ? AddressOn("/new") : to + (to == "file" ? ":///etc/passwd" : "://127.0.0.1/etc/passwd"));
  });
  Start();
  EXPECT_EQ(FetchMatchingLine(AddressOn("/to/http"), "root", ShortLimits()), "root: moved here");
  for (const char* scheme : {"file", "ftp", "gopher", "dict", "telnet"})
    EXPECT_EQ(FetchMatchingLine(AddressOn("/to/") + scheme, "root", ShortLimits()), "") << scheme;
}

TEST_F(FetchTest, MatchingLineIsTheFirstHoldingTheKeyAndEndsTheTransfer) {
  server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
    response.set_chunked_content_provider("text/plain", [](std::size_t offset, httplib::DataSink& sink) {
      const std::string piece = offset == 0 ? "a=0\r\nx=1\r\nx=2\r\n" : std::string(1024, 'z');
      std::this_thread::sleep_for(1ms);
      return sink.write(piece.data(), piece.size());  // endless: only the client going away ends it
    });
  });
  Start();
  EXPECT_EQ(FetchMatchingLine(AddressOn("/up.txt"), "x", ShortLimits()), "x=1");
  EXPECT_EQ(FetchMatchingLine(AddressOn("/up.txt"), "=2", ShortLimits()), "x=2");
  const std::size_t requests = m_server.Targets().size();
  EXPECT_EQ(FetchMatchingLine(AddressOn("/up.txt"), "", ShortLimits()), "");
  EXPECT_EQ(FetchMatchingLine("", "x", ShortLimits()), "");
  EXPECT_EQ(m_server.Targets().size(), requests) << "no key or no address: no request";
  for (const char* unopenable : {"ftp://parlavo-test.invalid/file", "not an address", ""})
    EXPECT_EQ(FetchUrlText(unopenable, ShortLimits()), "") << unopenable;
}

// libcurl builds no request line above 1 MiB: a longer text cannot be sent,
// and the user reads why.
TEST_F(FetchTest, TextTooLongToSendIsReportedInChinese) {
  Serve("unused");
  LanguageTable table;
  FillLanguageTable(table);
  const Text text(400 * 1024, 'a');
  ExpectChineseErrorNaming(NetworkErrorOf([&] { TranslateForDisplay(table, text, table[0].name, ShortLimits()); }),
                           SERVICE_HOST, "过长");
  EXPECT_TRUE(m_server.Targets().empty());
}

TEST(LoopbackProxyTest, LoopbackIsReachedDirectlyWhateverTheProxy) {
  LoopbackServer proxy;
  proxy.Start();
  LoopbackServer service;
  service.server().Get("/hi", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("direct", "text/plain");
  });
  service.Start();
  ProxyRoute route(proxy);
  for (const std::string host : {"127.0.0.1", "localhost"}) {
    EXPECT_EQ(FetchUrlText("http://" + host + ":" + std::to_string(service.port()) + "/hi", ShortLimits()), "direct")
        << host;
  }
  EXPECT_TRUE(proxy.Targets().empty());
}

}  // namespace
}  // namespace parlavo
