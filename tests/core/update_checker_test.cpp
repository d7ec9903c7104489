#include <gtest/gtest.h>

#include "loopback_server.h"
#include "services/update_checker.h"

namespace parlavo {
namespace {

using testing::LoopbackServer;
using testing::ProxyRoute;

struct UpdateCase {
  const char* file;
  UpdateStatus expected;
};

void PrintTo(const UpdateCase& updateCase, std::ostream* out) { *out << ::testing::PrintToString(updateCase.file); }

class UpdateFileTest : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(UpdateFileTest, DecidesFromTheFirstLineHoldingTheKey) {
  LoopbackServer server;
  const std::string file = GetParam().file;
  server.server().Get(".*", [file](const httplib::Request&, httplib::Response& response) {
    response.set_content(file, "text/plain");
  });
  server.Start();
  ProxyRoute route(server);
  CUpdateChecker checker(UPDATE_URL, UPDATE_KEY);
  EXPECT_EQ(checker.CheckForUpdate(CURRENT_VERSION), GetParam().expected) << file;
  EXPECT_EQ(checker.HasNewerVersion(CURRENT_VERSION), GetParam().expected == UpdateStatus::Newer);
  EXPECT_EQ(server.Targets().front(), std::string("http://") + PARLAVO_TEST_MAKER_HOST + "/orbenix/up.txt");
}

INSTANTIATE_TEST_SUITE_P(
    Files, UpdateFileTest,
    ::testing::Values(UpdateCase{"trans=3", UpdateStatus::Newer}, UpdateCase{"trans=2", UpdateStatus::Latest},
                      UpdateCase{"trans=1\r\n", UpdateStatus::Latest}, UpdateCase{"trans= 10", UpdateStatus::Newer},
                      UpdateCase{"trans=2.5", UpdateStatus::Latest}, UpdateCase{"trans=0", UpdateStatus::Latest},
                      UpdateCase{"trans=-7", UpdateStatus::Latest}, UpdateCase{"trans=+3", UpdateStatus::Newer},
                      UpdateCase{"version=5 trans", UpdateStatus::Newer},
                      UpdateCase{"other=9\ntransfer=9\ntrans=1\n", UpdateStatus::Newer},
                      UpdateCase{"trans=99999999999", UpdateStatus::Newer},
                      UpdateCase{"trans=abc", UpdateStatus::Unknown}, UpdateCase{"trans 3", UpdateStatus::Unknown},
                      UpdateCase{"trans=", UpdateStatus::Unknown}, UpdateCase{"version=9\n", UpdateStatus::Unknown},
                      UpdateCase{"", UpdateStatus::Unknown}));

TEST(UpdateCheckerTest, EmptyKeyOrAddressIsUnknownWithoutARequest) {
  LoopbackServer server;
  server.server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("trans=3", "text/plain");
  });
  server.Start();
  ProxyRoute route(server);
  EXPECT_EQ(CUpdateChecker(UPDATE_URL, "").CheckForUpdate(2), UpdateStatus::Unknown);
  EXPECT_EQ(CUpdateChecker("", UPDATE_KEY).CheckForUpdate(2), UpdateStatus::Unknown);
  EXPECT_TRUE(server.Targets().empty());
}

TEST(UpdateCheckerTest, ValueAfterEqualsDropsUpToTheFirstEquals) {
  EXPECT_EQ(CUpdateChecker::ValueAfterEquals("a=b=c"), "b=c");
  EXPECT_EQ(CUpdateChecker::ValueAfterEquals("trans 3"), "trans 3");
}

TEST(UpdateCheckerTest, NetworkErrorsPropagate) {
  ProxyRoute route(testing::RefusingProxyUrl());
  FetchLimits limits;
  limits.connectTimeout = std::chrono::seconds(2);
  CUpdateChecker checker(UPDATE_URL, UPDATE_KEY, limits);
  EXPECT_THROW(checker.CheckForUpdate(CURRENT_VERSION), InternetError);
}

}  // namespace
}  // namespace parlavo
