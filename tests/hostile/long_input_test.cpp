// A very long text is sent whole, in both requests, and its translation
// comes back whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "echo_service.h"
#include "hostile_support.h"
#include "long_request_server.h"
#include "loopback_server.h"
#include "net/text_encoding.h"
#include "services/translation_client.h"

namespace parlavo::hostile {
namespace {

using testing::ProxyRoute;
using testing::ScopedLocale;

constexpr std::size_t kCharacters = 100000;

// `count` characters (UTF-8) cycling through Chinese, ASCII, the characters
// that mean something in an address or in JSON, and line breaks.
std::string MixedText(std::size_t count, const std::vector<std::string>& extra) {
  std::vector<std::string> characters = {"中", "文", "译", "，", "。", "「", "」", "a", "Z", "9", " ", "&", "=",
                                         "%", "+", "#", "|", "?", "/", "\"", "\\", "\t", "\r", "\n", "é", "ü"};
  characters.insert(characters.end(), extra.begin(), extra.end());
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += characters[(i * 7 + i / 5) % characters.size()];
  return text;
}

void ExpectSentWholeAndShownIntact(const char* locale, const std::string& utf8Text) {
  ScopedLocale scoped(locale);
  ASSERT_TRUE(scoped.ok());
  LongRequestServer server(EchoService);
  ProxyRoute route(server.Url());
  LanguageTable table;
  FillLanguageTable(table);
  Text text = utf8Text;
  Utf8ToAnsi(text);

  const Text shown = TranslateForDisplay(table, text, table[1].name, ShortLimits());

  const std::vector<std::string> targets = server.Targets();
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_TRUE(PercentDecoded(QueryValue(targets[0], "q")) == utf8Text) << "the detect request carries all of it";
  EXPECT_TRUE(PercentDecoded(QueryValue(targets[1], "q")) == utf8Text) << "the translate request carries all of it";
  EXPECT_EQ(QueryValue(targets[1], "langpair"), "zh|en");
  EXPECT_EQ(shown.size(), text.size());
  EXPECT_TRUE(shown == text) << "the reply is shown intact";
}

TEST(LongInputTest, HundredThousandCharactersInUtf8) {
  ExpectSentWholeAndShownIntact("zh_CN.UTF-8", MixedText(kCharacters, {"😀", "𠀀", "ß", "한"}));
}

TEST(LongInputTest, HundredThousandCharactersInGbk) {
  ExpectSentWholeAndShownIntact("zh_CN.GBK", MixedText(kCharacters, {"ア", "ё", "Ω", "€"}));
}

// libcurl builds no request line above 1 MiB, so a text of more than about
// a third of that (three address characters per UTF-8 byte) cannot be sent
// at all; the user must then read why, in Chinese.
TEST(LongInputTest, TextTooLongToSendIsReportedInChinese) {
  ScopedLocale scoped("zh_CN.UTF-8");
  ASSERT_TRUE(scoped.ok());
  LongRequestServer server(EchoService);
  ProxyRoute route(server.Url());
  LanguageTable table;
  FillLanguageTable(table);
  const std::string text(400 * 1024, 'a');

  const auto message = NetworkErrorOf([&] { TranslateForDisplay(table, text, table[0].name, ShortLimits()); });

  ExpectChineseErrorNaming(message, ServiceHost());
  EXPECT_TRUE(server.Targets().empty());
}

}  // namespace
}  // namespace parlavo::hostile
