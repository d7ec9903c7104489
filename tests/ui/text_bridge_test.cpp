#include "ui/text_bridge.h"

#include <gtest/gtest.h>

#include "loopback_server.h"

namespace parlavo {
namespace {

using testing::ScopedLocale;

const wxString CHINESE = wxString::FromUTF8("中文 text");
const Text CHINESE_GBK = "\xd6\xd0\xce\xc4 text";

TEST(TextBridge, ConvertsBetweenWindowsAndTheLocalesCharset) {
  {
    ScopedLocale locale("zh_CN.GBK");
    EXPECT_EQ(ToText(CHINESE), CHINESE_GBK);
    EXPECT_EQ(FromText(CHINESE_GBK), CHINESE);
  }
  {
    ScopedLocale locale("zh_CN.UTF-8");
    EXPECT_EQ(ToText(CHINESE), "中文 text");
    EXPECT_EQ(FromText("中文 text"), CHINESE);
  }
}

TEST(TextBridge, KeepsWhatSurroundsInvalidBytesAndNulCharacters) {
  ScopedLocale locale("zh_CN.GBK");
  const wxString shown = FromText(Text("ab\xd6") + Text(1, '\0') + "cd");
  EXPECT_EQ(shown.length(), 6u);
  EXPECT_EQ(shown.substr(0, 2).utf8_string(), "ab");
  EXPECT_EQ(shown[2], wxUniChar(0xFFFD));
  EXPECT_EQ(shown[3], wxUniChar(0));
  EXPECT_EQ(shown.substr(4).utf8_string(), "cd");
  EXPECT_EQ(ToText(shown.substr(3)), Text(1, '\0') + "cd");
}

TEST(TextBridge, MarksCharactersTheLocaleLacks) {
  ScopedLocale locale("zh_CN.GBK");
  EXPECT_EQ(ToText(wxString::FromUTF8("a\xF0\x9F\x98\x80" "b")), "a?b");
}

TEST(TextBridge, ReadsExceptionMessagesAsUtf8WhateverTheLocale) {
  ScopedLocale locale("zh_CN.GBK");
  const wxString message = FromUtf8("网络错误：无法连接");
  EXPECT_EQ(message.length(), 9u);
  EXPECT_EQ(message.utf8_string(), "网络错误：无法连接");
}

}  // namespace
}  // namespace parlavo
