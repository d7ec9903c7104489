#include <gtest/gtest.h>

#include "loopback_server.h"
#include "net/ansi_code_page.h"
#include "net/text_encoding.h"

namespace parlavo {
namespace {

using testing::ScopedLocale;

TEST(UrlEncodeTest, EncodesEveryUtf8ByteAsLowercaseHex) {
  ScopedLocale locale("C.UTF-8");
  EXPECT_EQ(UrlEncode(""), "");
  EXPECT_EQ(UrlEncode("a"), "%61");
  EXPECT_EQ(UrlEncode("abc"), "%61%62%63");
  EXPECT_EQ(UrlEncode("\n"), "%0a");
  EXPECT_EQ(UrlEncode("\r\n"), "%0d%0a");
  EXPECT_EQ(UrlEncode("-._~ +"), "%2d%2e%5f%7e%20%2b");
  EXPECT_EQ(UrlEncode("中"), "%e4%b8%ad");
  EXPECT_EQ(UrlEncode("\xff"), "%ef%bf%bd") << "an invalid byte is sent as U+FFFD";
}

TEST(UrlEncodeTest, ConvertsGbkTextToUtf8First) {
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  EXPECT_EQ(UrlEncode("\xD6\xD0"), "%e4%b8%ad");
  const Text fourChinese = "\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7";  // 你好世界
  EXPECT_EQ(UrlEncode(fourChinese).size(), 9u * 4);
  const Text original = fourChinese;
  UrlEncode(fourChinese);
  EXPECT_EQ(fourChinese, original);
}

TEST(CodePageConversionTest, PlainCLocaleCountsAsUtf8) {
  ScopedLocale locale("C");
  EXPECT_EQ(AnsiCharset(), "UTF-8");
  Text text = "你好";
  AnsiToUtf8(text);
  EXPECT_EQ(text, "你好");
}

TEST(CodePageConversionTest, GbkRoundTripKeepsRepresentableText) {
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  Text text = "你好, world! 中文。";
  Utf8ToAnsi(text);
  EXPECT_EQ(text, "\xC4\xE3\xBA\xC3, world! \xD6\xD0\xCE\xC4\xA1\xA3");
  AnsiToUtf8(text);
  EXPECT_EQ(text, "你好, world! 中文。");
}

TEST(CodePageConversionTest, CharactersGbkLacksAreSubstitutedNotDropped) {
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  Text emoji = "a😀b";
  Utf8ToAnsi(emoji);
  EXPECT_EQ(emoji, "a?b");
  Text ligature = "\xEF\xAC\x81x";  // U+FB01 has a look-alike: "fi"
  Utf8ToAnsi(ligature);
  EXPECT_EQ(ligature, "fix");
}

TEST(CodePageConversionTest, InvalidBytesBecomeReplacementAndConversionGoesOn) {
  {
    ScopedLocale locale("C.UTF-8");
    Text text = "a\xFF" "b\xE4\xB8";
    AnsiToUtf8(text);
    EXPECT_EQ(text.substr(0, 5), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(text.find('\xFF'), Text::npos);
    EXPECT_GE(text.size(), 8u) << "the truncated character at the end is replaced, not dropped";
  }
  {
    ScopedLocale locale("zh_CN.GBK");
    ASSERT_TRUE(locale.ok());
    Text text = "a\xC3(b";
    Utf8ToAnsi(text);
    EXPECT_EQ(text, "a?(b") << "GBK has no U+FFFD, so '?' stands in";
    Text gbk = "x\xFF" "y";
    AnsiToUtf8(gbk);
    EXPECT_EQ(gbk, "x\xEF\xBF\xBDy");
  }
}

TEST(CodePageConversionTest, EmptyStaysEmpty) {
  ScopedLocale locale("zh_CN.GBK");
  Text text;
  AnsiToUtf8(text);
  EXPECT_EQ(text, "");
  Utf8ToAnsi(text);
  EXPECT_EQ(text, "");
}

TEST(WholeCharacterFindTest, NeverMatchesOnAGbkTrailByte) {
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  // 0x81 0x61 is one character whose trail byte is 'a'.
  EXPECT_EQ(Find("\x81" "ab", "ab"), Text::npos);
  EXPECT_EQ(Find("\x81" "abab", "ab"), 3u);
  // The end of one 中 and the start of the next look like D0 D6.
  EXPECT_EQ(Find("\xD6\xD0\xD6\xD0", "\xD0\xD6"), Text::npos);
  EXPECT_EQ(Find("\xD6\xD0\xD6\xD0", "\xD6\xD0", 1), Text::npos) << "1 is not a boundary, 2 is";
  EXPECT_EQ(Find("key", ""), 0u);
}

TEST(WholeCharacterFindTest, Utf8IsPlainByteSearch) {
  ScopedLocale locale("C.UTF-8");
  EXPECT_EQ(Find("中文 trans=3", "trans"), 7u);
  EXPECT_EQ(Find("abc", "d"), Text::npos);
}

}  // namespace
}  // namespace parlavo
