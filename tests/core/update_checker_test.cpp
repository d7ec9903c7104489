#include <gtest/gtest.h>

#include "loopback_server.h"
#include "services/update_checker.h"

namespace parlavo {
namespace {

using testing::LoopbackServer;
using testing::ProxyRoute;

// The number after the first "=", read as atoi would, against ours (2).
TEST(VersionRulesTest, OnlyAHigherNumberIsNewer) {
  const std::pair<const char*, UpdateStatus> cases[] = {
      {"trans=3", UpdateStatus::Newer},         {"trans=2", UpdateStatus::Latest},
      {"trans=1\r", UpdateStatus::Latest},      {"trans= 10", UpdateStatus::Newer},
      {"trans=2.5", UpdateStatus::Latest},      {"trans=0", UpdateStatus::Latest},
      {"trans=-7", UpdateStatus::Latest},       {"trans=+3", UpdateStatus::Newer},
      {"version=5 trans", UpdateStatus::Newer}, {"a=b=3", UpdateStatus::Unknown},
      {"trans=99999999999", UpdateStatus::Newer}, {"trans=-99999999999", UpdateStatus::Latest},
      {"trans=abc", UpdateStatus::Unknown},     {"trans 3", UpdateStatus::Unknown},
      {"trans=", UpdateStatus::Unknown},        {"trans=-", UpdateStatus::Unknown},
  };
  for (const auto& [line, status] : cases) EXPECT_EQ(ClassifyVersionLine(line, CURRENT_VERSION), status) << line;
}

TEST(UpdateCheckerTest, AsksTheMakersFileAndReadsTheFirstLineHoldingTheKey) {
  LoopbackServer server;
  std::string file = "other=9\ntransfer=1\ntrans=9\n";
  server.server().Get(".*", [&file](const httplib::Request&, httplib::Response& response) {
    response.set_content(file, "text/plain");
  });
  server.Start();
  ProxyRoute route(server);
  CUpdateChecker checker(UPDATE_URL, UPDATE_KEY);
  EXPECT_EQ(checker.CheckForUpdate(CURRENT_VERSION), UpdateStatus::Latest);
  EXPECT_EQ(server.Targets(), std::vector<std::string>{std::string("http://") + PARLAVO_TEST_MAKER_HOST + "/orbenix/up.txt"});
  file = "trans=3\r\n";
  EXPECT_TRUE(checker.HasNewerVersion(CURRENT_VERSION));
  file = "version=9\n";
  EXPECT_EQ(checker.CheckForUpdate(CURRENT_VERSION), UpdateStatus::Unknown);
  const std::size_t requests = server.Targets().size();
  EXPECT_EQ(CUpdateChecker(UPDATE_URL, "").CheckForUpdate(CURRENT_VERSION), UpdateStatus::Unknown);
  EXPECT_EQ(CUpdateChecker("", UPDATE_KEY).CheckForUpdate(CURRENT_VERSION), UpdateStatus::Unknown);
  EXPECT_EQ(server.Targets().size(), requests) << "no key or no address: no request";
}

}  // namespace
}  // namespace parlavo
