#include <gtest/gtest.h>

#include <stdexcept>

#include "indexer/cedict_source.h"

namespace parlavo::server {
namespace {

TEST(UnwrapJsModuleTextTest, ReturnsTheTemplateLiteral) {
  EXPECT_EQ(UnwrapJsModuleText("module.exports = `a\nb`;\n"), "a\nb");
  EXPECT_EQ(UnwrapJsModuleText("module.exports = `x`"), "x");
}

TEST(UnwrapJsModuleTextTest, RefusesWhatWouldChangeTheText) {
  EXPECT_THROW(UnwrapJsModuleText("module.exports = `a\\nb`;"), std::runtime_error) << "escape";
  EXPECT_THROW(UnwrapJsModuleText("module.exports = `a${b}`;"), std::runtime_error) << "substitution";
  EXPECT_THROW(UnwrapJsModuleText("module.exports = `a`b`;"), std::runtime_error) << "inner backtick";
  EXPECT_THROW(UnwrapJsModuleText("exports.x = `a`;"), std::runtime_error);
  EXPECT_THROW(UnwrapJsModuleText("module.exports = 'a';"), std::runtime_error);
}

TEST(ParseCedictTest, ReadsEntriesAndSkipsComments) {
  const auto entries = ParseCedict(
      "# CC-CEDICT\n"
      "#! version=1\n"
      "\n"
      "傳統 传统 [chuan2 tong3] /tradition/traditional/\r\n"
      "你好 你好 [ni3 hao3] /hello; hi/\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].traditional, "傳統");
  EXPECT_EQ(entries[0].simplified, "传统");
  EXPECT_EQ(entries[0].pinyin, "chuan2 tong3");
  EXPECT_EQ(entries[0].senses, (std::vector<std::string>{"tradition", "traditional"}));
  EXPECT_EQ(entries[1].senses, (std::vector<std::string>{"hello; hi"}));
}

TEST(ParseCedictTest, NamesTheLineOfAMalformedEntry) {
  for (const char* line : {"你好 [ni3 hao3] /hello/", "你好 你好 ni3 hao3 /hello/", "你好 你好 [ni3 hao3] /hello",
                           "你好 你好 [ni3 hao3] //"}) {
    try {
      ParseCedict(std::string("# header\n") + line + "\n");
      ADD_FAILURE() << "accepted: " << line;
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos) << error.what();
    }
  }
}

TEST(CedictHeaderTest, IsTheLeadingCommentBlock) {
  EXPECT_EQ(CedictHeader("# CC-CEDICT\n# License: CC BY-SA\n好 好 [hao3] /good/\n# later\n"),
            "# CC-CEDICT\n# License: CC BY-SA\n");
  EXPECT_EQ(CedictHeader("好 好 [hao3] /good/\n"), "");
}

TEST(ParseWordFrequenciesTest, TheLastCommaSeparatesTheCount) {
  const auto frequencies = ParseWordFrequencies("你好,828\n1,000,5\nbroken\n没有数,x\n,7\n的,4650143");
  EXPECT_EQ(frequencies.at("你好"), 828u);
  EXPECT_EQ(frequencies.at("1,000"), 5u);
  EXPECT_EQ(frequencies.at("的"), 4650143u);
  EXPECT_EQ(frequencies.size(), 3u);
}

}  // namespace
}  // namespace parlavo::server
