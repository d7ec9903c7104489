#include <gtest/gtest.h>

#include "text/unicode_script.h"
#include "text/utf8.h"

namespace parlavo::server {
namespace {

TEST(Utf8Test, AcceptsWellFormedText) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain ASCII"));
  EXPECT_TRUE(IsValidUtf8("你好，世界"));
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));      // U+1F600
  EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));      // U+10FFFF
  EXPECT_TRUE(IsValidUtf8(std::string("a\0b", 3)));  // NUL is a character
}

TEST(Utf8Test, RejectsMalformedText) {
  EXPECT_FALSE(IsValidUtf8("\xFF"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF")) << "overlong '/'";
  EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF")) << "overlong '/'";
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")) << "surrogate";
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")) << "above U+10FFFF";
  EXPECT_FALSE(IsValidUtf8("\xE4\xBD")) << "cut short";
  EXPECT_FALSE(IsValidUtf8("\xE4\x41\xA0")) << "bad continuation";
  EXPECT_FALSE(IsValidUtf8("ok\x80"));
}

TEST(Utf8Test, DecodesAndEncodesCodePoints) {
  const std::string text = "a\xC3\xA9\xE4\xBD\xA0\xF0\x9F\x98\x80";
  std::size_t pos = 0;
  EXPECT_EQ(NextCodePoint(text, pos), U'a');
  EXPECT_EQ(NextCodePoint(text, pos), U'é');
  EXPECT_EQ(NextCodePoint(text, pos), U'你');
  EXPECT_EQ(NextCodePoint(text, pos), U'\U0001F600');
  EXPECT_EQ(pos, text.size());

  std::string out;
  for (char32_t c : {U'a', U'é', U'你', U'\U0001F600'}) AppendUtf8(out, c);
  EXPECT_EQ(out, text);
  EXPECT_EQ(CountCodePoints(text), 4u);
}

TEST(Utf8Test, InvalidBytesBecomeReplacementOneAtATime) {
  const std::string text = "\xE4\xBD" "b";
  std::size_t pos = 0;
  EXPECT_EQ(NextCodePoint(text, pos), kReplacementCharacter);
  EXPECT_EQ(pos, 1u);
  EXPECT_EQ(NextCodePoint(text, pos), kReplacementCharacter);
  EXPECT_EQ(NextCodePoint(text, pos), U'b');

  std::string out;
  AppendUtf8(out, 0xD800);
  EXPECT_EQ(out, "\xEF\xBF\xBD") << "a surrogate is never written";
}

TEST(UnicodeScriptTest, TellsWritingSystemsApart) {
  EXPECT_EQ(ScriptOf(U'a'), Script::Latin);
  EXPECT_EQ(ScriptOf(U'É'), Script::Latin);
  EXPECT_EQ(ScriptOf(U'中'), Script::Han);
  EXPECT_EQ(ScriptOf(U'\U00020000'), Script::Han);
  EXPECT_EQ(ScriptOf(U'か'), Script::Kana);
  EXPECT_EQ(ScriptOf(U'한'), Script::Hangul);
  EXPECT_EQ(ScriptOf(U'ж'), Script::Cyrillic);
  EXPECT_EQ(ScriptOf(U'λ'), Script::Greek);
  for (char32_t c : {U'1', U' ', U'，', U'!', U'×', U'😀'}) EXPECT_EQ(ScriptOf(c), Script::None) << int(c);
  EXPECT_TRUE(IsHan(U'〇'));
  EXPECT_FALSE(IsHan(U'。'));
}

}  // namespace
}  // namespace parlavo::server
