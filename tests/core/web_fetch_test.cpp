#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "loopback_server.h"
#include "net/web_fetch.h"

namespace parlavo {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackServer;
using testing::ProxyRoute;

// The client asks for this fixed host; the proxy route brings it to us.
constexpr const char* kHost = "http://parlavo-test.invalid";

FetchLimits ShortLimits() {
  FetchLimits limits;
  limits.connectTimeout = 2s;
  limits.stallTimeout = 1s;
  return limits;
}

class WebFetchTest : public ::testing::Test {
 protected:
  void Serve(const std::string& body, int status = 200, const char* type = "text/plain") {
    m_server.server().Get(".*", [=](const httplib::Request&, httplib::Response& response) {
      response.status = status;
      response.set_content(body, type);
    });
    Start();
  }
  void Start() {
    m_server.Start();
    m_route = std::make_unique<ProxyRoute>(m_server);
  }

  LoopbackServer m_server;
  std::unique_ptr<ProxyRoute> m_route;
};

TEST_F(WebFetchTest, JoinsAllBodyLinesAndSendsTheAddressByteForByte) {
  std::string agent;
  m_server.server().Get(".*", [&agent](const httplib::Request& request, httplib::Response& response) {
    agent = request.get_header_value("User-Agent");
    response.set_content("ab\r\ncd\nef", "text/plain");
  });
  Start();
  const Text url = std::string(kHost) + "/p?v=1.0&q=%e4%b8%ad&langpair=en|zh";
  EXPECT_EQ(FetchUrlText(url, ShortLimits()), "abcdef");
  ASSERT_EQ(m_server.Targets().size(), 1u);
  EXPECT_EQ(m_server.Targets()[0], url);
  EXPECT_EQ(agent, "Parlavo");
}

TEST_F(WebFetchTest, ErrorStatusBodyIsReadLikeAnyOther) {
  Serve("<html>\n<body>Not here</body>\n</html>\n", 404, "text/html");
  EXPECT_EQ(FetchUrlText(std::string(kHost) + "/missing", ShortLimits()), "<html><body>Not here</body></html>");
}

TEST_F(WebFetchTest, FollowsRedirects) {
  m_server.server().Get(".*", [](const httplib::Request& request, httplib::Response& response) {
    if (request.target.find("/old") != std::string::npos)
      response.set_redirect(std::string(kHost) + "/new");
    else
      response.set_content("moved here", "text/plain");
  });
  Start();
  EXPECT_EQ(FetchUrlText(std::string(kHost) + "/old", ShortLimits()), "moved here");
}

TEST_F(WebFetchTest, MatchingLineIsTheFirstLineHoldingTheKey) {
  Serve("a=0\r\nx=1\r\nx=2\r\n");
  EXPECT_EQ(FetchMatchingLine(std::string(kHost) + "/up.txt", "x", ShortLimits()), "x=1");
  EXPECT_EQ(FetchMatchingLine(std::string(kHost) + "/up.txt", "y", ShortLimits()), "");
  EXPECT_EQ(FetchMatchingLine(std::string(kHost) + "/up.txt", "=2", ShortLimits()), "x=2");
}

TEST_F(WebFetchTest, MatchingLineStopsReadingAtTheMatch) {
  m_server.server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
    response.set_chunked_content_provider("text/plain", [](std::size_t offset, httplib::DataSink& sink) {
      if (offset == 0) return sink.write("trans=3\n", 8);
      const std::string filler(1024, 'z');
      // Endless: only the client going away ends this reply.
      std::this_thread::sleep_for(1ms);
      return sink.write(filler.data(), filler.size());
    });
  });
  Start();
  FetchLimits limits = ShortLimits();
  limits.maxBodyBytes = 256 * 1024;  // reading on would hit this and throw
  EXPECT_EQ(FetchMatchingLine(std::string(kHost) + "/up.txt", "trans", limits), "trans=3");
}

TEST_F(WebFetchTest, EmptyKeyOrAddressMakesNoRequest) {
  Serve("x=1\n");
  EXPECT_EQ(FetchMatchingLine(std::string(kHost) + "/up.txt", "", ShortLimits()), "");
  EXPECT_EQ(FetchMatchingLine("", "x", ShortLimits()), "");
  EXPECT_TRUE(m_server.Targets().empty());
}

TEST_F(WebFetchTest, AddressesThatCannotBeOpenedGiveNothing) {
  Serve("unused");
  EXPECT_EQ(FetchUrlText("ftp://parlavo-test.invalid/file", ShortLimits()), "");
  EXPECT_EQ(FetchUrlText("not an address", ShortLimits()), "");
  EXPECT_EQ(FetchUrlText("", ShortLimits()), "");
}

TEST_F(WebFetchTest, OversizeReplyIsAnError) {
  Serve(std::string(300 * 1024, 'x'));
  FetchLimits limits = ShortLimits();
  limits.maxBodyBytes = 256 * 1024;
  try {
    FetchUrlText(std::string(kHost) + "/big", limits);
    FAIL() << "an oversize reply must not be returned";
  } catch (const InternetError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("网络错误：", 0), 0u) << error.what();
    EXPECT_NE(std::string(error.what()).find("parlavo-test.invalid"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("过大"), std::string::npos) << error.what();
  }
}

TEST_F(WebFetchTest, SilentServerTimesOut) {
  m_server.server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
    std::this_thread::sleep_for(3s);
    response.set_content("too late", "text/plain");
  });
  Start();
  try {
    FetchUrlText(std::string(kHost) + "/slow", ShortLimits());
    FAIL() << "a silent server must end in an error";
  } catch (const InternetError& error) {
    EXPECT_NE(std::string(error.what()).find("超时"), std::string::npos) << error.what();
  }
}

TEST(WebFetchErrorTest, RefusedConnectionNamesTheHost) {
  ProxyRoute route(testing::RefusingProxyUrl());
  try {
    FetchUrlText(std::string(kHost) + ":8080/x", ShortLimits());
    FAIL() << "a refused connection must end in an error";
  } catch (const InternetError& error) {
    EXPECT_STREQ(error.what(), "网络错误：无法连接到服务器 parlavo-test.invalid:8080");
  }
}

TEST(WebFetchProxyTest, LoopbackIsReachedDirectlyWhateverTheProxy) {
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
  EXPECT_EQ(service.Targets(), (std::vector<std::string>{"/hi", "/hi"}));
  EXPECT_TRUE(proxy.Targets().empty());
}

}  // namespace
}  // namespace parlavo
