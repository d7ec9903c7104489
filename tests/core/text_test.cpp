// The shared locale-free helpers, and the client's conversions between the
// locale's code page and UTF-8.
#include <gtest/gtest.h>

#include <vector>

#include "loopback_server.h"
#include "net/ansi_code_page.h"
#include "net/line_splitter.h"
#include "net/text_encoding.h"
#include "text/ascii.h"
#include "text/percent_coding.h"
#include "text/utf8.h"

namespace parlavo {
namespace {

using testing::ScopedLocale;

TEST(Utf8Test, ValidationIsStrict) {
  for (const std::string& good : {std::string("a\0b", 3), std::string("plain ASCII, longer than eight"),
                                 std::string("你好"), std::string("\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"), std::string("abcdefgh中")})
    EXPECT_TRUE(IsValidUtf8(good)) << good;
  for (const char* bad : {"\xFF", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE4\xBD",
                          "\xE4\x41\xA0", "ok\x80", "abcdefgh\x80", "abcdefghijklmnop\xE4\xBD"})
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
}

TEST(Utf8Test, ReadsWritesAndCountsCharacters) {
  const std::string text = "aé你😀";
  std::size_t pos = 0;
  std::u32string read;
  while (pos < text.size()) read += NextCodePoint(text, pos);
  EXPECT_EQ(read, U"aé你😀");
  std::string written;
  for (const char32_t c : read) AppendUtf8(written, c);
  EXPECT_EQ(written, text);
  EXPECT_EQ(CountCodePoints(text), 4u);
  const std::string broken = "\xE4\xBD" "b";
  pos = 0;
  EXPECT_EQ(NextCodePoint(broken, pos), kReplacementCharacter);
  EXPECT_EQ(pos, 1u) << "an invalid byte is stepped over alone";
  written.clear();
  AppendUtf8(written, 0xD800);
  EXPECT_EQ(written, "\xEF\xBF\xBD");
}

TEST(PercentCodingTest, EncodesAndDecodes) {
  EXPECT_EQ(PercentEncodeEveryByte("-._~ +中"), "%2d%2e%5f%7e%20%2b%e4%b8%ad");
  EXPECT_EQ(PercentEncodeReserved("a-_.~ +/中"), "a-_.~%20%2B%2F%E4%B8%AD");
  std::string everyByte;
  for (int byte = 0; byte < 256; ++byte) everyByte += static_cast<char>(byte);
  EXPECT_EQ(PercentDecode(PercentEncodeEveryByte(everyByte)), everyByte);
  EXPECT_EQ(PercentDecode(PercentEncodeReserved(everyByte)), everyByte);
  EXPECT_EQ(PercentDecode("%E4%bd%A0a+b%2B|"), "你a b+|");
  for (const char* bad : {"%", "%4", "%zz", "%4g", "ab%"}) EXPECT_EQ(PercentDecode(bad), std::nullopt) << bad;
}

TEST(AsciiTest, HexCaseAndTrimming) {
  EXPECT_EQ(HexDigitValue('0') + HexDigitValue('9') + HexDigitValue('a') + HexDigitValue('F'), 0 + 9 + 10 + 15);
  for (const char c : {'g', 'G', '/', ':', '@', '`'}) EXPECT_EQ(HexDigitValue(c), -1) << c;
  EXPECT_EQ(ToLowerAscii("zh-TW IÉ@["), "zh-tw iÉ@[");
  EXPECT_EQ(TrimAscii("\t a b \r\n"), "a b");
  EXPECT_EQ(TrimAscii(" ,x, ", " ,"), "x");
  EXPECT_EQ(TrimAscii("\tx", " "), "\tx");
  EXPECT_EQ(TrimAscii("   "), "");
}

TEST(UrlEncodeTest, EncodesTheUtf8FormOfTheLocalesText) {
  {
    ScopedLocale locale("C.UTF-8");
    EXPECT_EQ(UrlEncode(""), "");
    EXPECT_EQ(UrlEncode("a\r\n中"), "%61%0d%0a%e4%b8%ad");
    EXPECT_EQ(UrlEncode("\xff"), "%ef%bf%bd") << "an invalid byte is sent as U+FFFD";
  }
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  const Text fourChinese = "\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7";  // 你好世界
  EXPECT_EQ(UrlEncode(fourChinese), "%e4%bd%a0%e5%a5%bd%e4%b8%96%e7%95%8c");
  EXPECT_EQ(fourChinese, "\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7");
}

TEST(CodePageConversionTest, GbkRoundTripAndSubstitutes) {
  ScopedLocale locale("zh_CN.GBK");
  ASSERT_TRUE(locale.ok());
  Text text = "你好, world! 中文。";
  Utf8ToAnsi(text);
  EXPECT_EQ(text, "\xC4\xE3\xBA\xC3, world! \xD6\xD0\xCE\xC4\xA1\xA3");
  AnsiToUtf8(text);
  EXPECT_EQ(text, "你好, world! 中文。");
  Text lacking = "a😀b\xEF\xAC\x81x";  // U+FB01 has a look-alike: "fi"
  Utf8ToAnsi(lacking);
  EXPECT_EQ(lacking, "a?bfix");
  Text invalid = "a\xC3(b";
  Utf8ToAnsi(invalid);
  EXPECT_EQ(invalid, "a?(b") << "GBK has no U+FFFD, so '?' stands in";
  Text gbk = "x\xFF" "y";
  AnsiToUtf8(gbk);
  EXPECT_EQ(gbk, "x\xEF\xBF\xBDy");
  Text empty;
  Utf8ToAnsi(empty);
  EXPECT_EQ(empty, "");
}

TEST(CodePageConversionTest, Utf8AndPlainCLocale) {
  ScopedLocale locale("C");
  EXPECT_EQ(AnsiCharset(), "UTF-8");
  Text text = "a\xFF" "b\xE4\xB8";
  AnsiToUtf8(text);
  EXPECT_EQ(text, "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xEF\xBF\xBD") << "each invalid byte is replaced, none dropped";
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
}

TEST(LineSplitterTest, CutsAtLfAcrossPiecesAndStopsWhenAsked) {
  std::vector<Text> lines;
  LineSplitter splitter([&lines](const Text& line) {
    lines.push_back(line);
    return line != "stop";
  });
  for (const char* piece : {"a", "b\r", "\nc\rd\n", "\n", "e\r\nstop\nf\n"}) splitter.Feed(piece);
  EXPECT_FALSE(splitter.Finish());
  EXPECT_EQ(lines, (std::vector<Text>{"ab", "c\rd", "", "e", "stop"}));
}

}  // namespace
}  // namespace parlavo
