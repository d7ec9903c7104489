#include <gtest/gtest.h>

#include "command_line.h"

namespace parlavo::server {
namespace {

ServiceOptions Parse(std::vector<std::string> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLineTest, DefaultsToTheOfflineDictionaryOnTheClientsAddress) {
  const ServiceOptions options = Parse({});
  EXPECT_EQ(options.host, "127.0.0.1");
  EXPECT_EQ(options.port, 8765);
  EXPECT_EQ(options.engine, EngineKind::Dictionary);
  EXPECT_EQ(options.upstream, "");
  EXPECT_FALSE(options.help);
}

TEST(CommandLineTest, ReadsEveryOptionInBothSpellings) {
  ServiceOptions options = Parse({"--listen", "127.0.0.2:9000", "--engine=libretranslate", "--upstream",
                                  "http://localhost:5000"});
  EXPECT_EQ(options.host, "127.0.0.2");
  EXPECT_EQ(options.port, 9000);
  EXPECT_EQ(options.engine, EngineKind::LibreTranslate);
  EXPECT_EQ(options.upstream, "http://localhost:5000");

  options = Parse({"--listen=[::1]:0", "--engine", "google"});
  EXPECT_EQ(options.host, "::1");
  EXPECT_EQ(options.port, 0);
  EXPECT_EQ(options.engine, EngineKind::Google);
  EXPECT_TRUE(Parse({"--help"}).help);
  EXPECT_TRUE(Parse({"--engine", "libretranslate", "--help"}).help) << "help needs no upstream";
}

TEST(CommandLineTest, RefusesWhatCannotWorkWithAChineseReason) {
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"--listen", "8765"}, {"--listen", "127.0.0.1:"}, {"--listen", "127.0.0.1:65536"},
           {"--listen", "127.0.0.1:-1"}, {"--listen", "::1:8765"}, {"--listen"}, {"--engine", "deepl"},
           {"--engine", "libretranslate"}, {"--upstream", "http://x"}, {"--engine", "google", "--upstream", "ftp://x"},
           {"--verbose"}, {"--help=yes"}}) {
    try {
      Parse(arguments);
      ADD_FAILURE() << "accepted " << ::testing::PrintToString(arguments);
    } catch (const UsageError& error) {
      EXPECT_GE(std::string(error.what()).size(), 6u);
      EXPECT_TRUE(std::string(error.what()).find_first_of("\xE4\xE5\xE6\xE7\xE8\xE9") != std::string::npos)
          << error.what();
    }
  }
}

TEST(CommandLineTest, UsageNamesEveryOptionAndEngine) {
  const std::string usage = UsageText();
  for (const char* word : {"--listen", "--engine", "--upstream", "--help", "dictionary", "libretranslate", "google",
                           "127.0.0.1:8765"}) {
    EXPECT_NE(usage.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace parlavo::server
