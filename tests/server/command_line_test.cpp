#include <gtest/gtest.h>

#include "command_line.h"

namespace parlavo::server {
namespace {

ServiceOptions Parse(std::vector<std::string> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLineTest, DefaultsToGoogleThenTheDictionaryOnTheClientsAddress) {
  const ServiceOptions options = Parse({});
  EXPECT_EQ(options.host, "127.0.0.1");
  EXPECT_EQ(options.port, 8765);
  EXPECT_EQ(options.engines, (std::vector<std::string>{"google", "dictionary"}));
  EXPECT_EQ(options.googleUrl, "https://translate.googleapis.com");
  EXPECT_EQ(options.libretranslateUrl, "http://127.0.0.1:5000");
  EXPECT_FALSE(options.help);
}

TEST(CommandLineTest, ReadsEveryOptionInBothSpellings) {
  ServiceOptions options = Parse({"--listen", "127.0.0.2:9000", "--engine=libretranslate,dictionary",
                                  "--libretranslate-url", "http://localhost:5001", "--google-url=http://127.0.0.1:1"});
  EXPECT_EQ(options.host, "127.0.0.2");
  EXPECT_EQ(options.port, 9000);
  EXPECT_EQ(options.engines, (std::vector<std::string>{"libretranslate", "dictionary"}));
  EXPECT_EQ(options.libretranslateUrl, "http://localhost:5001");
  EXPECT_EQ(options.googleUrl, "http://127.0.0.1:1");

  options = Parse({"--listen=[::1]:0", "--engine", "dictionary"});
  EXPECT_EQ(options.host, "::1");
  EXPECT_EQ(options.port, 0);
  EXPECT_EQ(options.engines, std::vector<std::string>{"dictionary"});
  EXPECT_TRUE(Parse({"--help"}).help);
  EXPECT_TRUE(Parse({"--engine", "deepl", "-h"}).help) << "help is shown whatever else is wrong";
}

TEST(CommandLineTest, RefusesWhatCannotWorkWithAChineseReason) {
  for (const auto& [arguments, reason] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--listen", "8765"}, "--listen 的值应为 主机:端口"},
           {{"--listen", "127.0.0.1:65536"}, "--listen 中的端口无效：65536"},
           {{"--listen", "::1:8765"}, "IPv6 地址应写在方括号内"},
           {{"--listen"}, "--listen 缺少值"},
           {{"--engine"}, "--engine 缺少值"},
           {{"--engine", "google,deepl"}, "未知的翻译引擎：deepl"},
           {{"--engine", "google", "dictionary"}, "未知的选项：dictionary"},
           {{"--engine", "dictionary,dictionary"}, "翻译引擎重复：dictionary"},
           {{"--google-url", "ftp://x"}, "--google-url 应为 http:// 或 https:// 开头的地址"},
           {{"--upstream", "http://x"}, "未知的选项：--upstream（用 --help 查看用法）"}}) {
    try {
      Parse(arguments);
      ADD_FAILURE() << "accepted " << ::testing::PrintToString(arguments);
    } catch (const UsageError& error) {
      EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
    }
  }
}

TEST(CommandLineTest, UsageNamesEveryOptionAndSaysWhereTextGoes) {
  const std::string usage = UsageText();
  for (const char* word : {"--listen", "--engine", "--google-url", "--libretranslate-url", "--help", "google,dictionary",
                           "libretranslate", "127.0.0.1:8765", "发送给 Google", "--engine dictionary 则一切都留在本机",
                           "局域网"}) {
    EXPECT_NE(usage.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace parlavo::server
