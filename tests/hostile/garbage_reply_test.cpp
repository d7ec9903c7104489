// Replies of random bytes, NULs and invalid UTF-8: read as they came, shown
// as something, never a crash.
#include <string>

#include "hostile_server_test.h"
#include "net/text_encoding.h"
#include "services/translation_client.h"

namespace parlavo::hostile {
namespace {

using testing::ScopedLocale;

std::string WithoutLineEnds(const std::string& body) {
  std::string out;
  for (std::size_t pos = 0; pos < body.size(); ++pos) {
    if (body[pos] == '\n') continue;
    if (body[pos] == '\r' && pos + 1 < body.size() && body[pos + 1] == '\n') continue;
    out += body[pos];
  }
  return out;
}

// The bytes between the quotes of a JSON value: no quote, no backslash.
std::string ValueNoise(std::uint32_t seed, std::size_t size) {
  std::string noise = NoiseBytes(seed, size);
  for (char& byte : noise)
    if (byte == '"' || byte == '\\') byte = '#';
  return noise;
}

class GarbageReplyTest : public HostileServerTest {
 protected:
  void Reply(std::string detectBody, std::string translateBody) {
    server().Get(".*", [detectBody, translateBody](const httplib::Request& request, httplib::Response& response) {
      const bool detect = request.target.find("/detect?") != std::string::npos;
      response.set_content(detect ? detectBody : translateBody, "application/json");
    });
    Start();
    FillLanguageTable(m_table);
  }

  LanguageTable m_table;
};

TEST_F(GarbageReplyTest, NoiseIsReadByteForByte) {
  const std::string body = NoiseBytes(1, 256 * 1024);
  Reply(body, body);
  EXPECT_EQ(FetchUrlText(AddressOn("/noise"), ShortLimits()), WithoutLineEnds(body));
}

TEST_F(GarbageReplyTest, NoiseInTheTranslationIsShownAsSomething) {
  const std::string noise = ValueNoise(2, 64 * 1024);
  Reply(NoiseBytes(3, 4096), "{\"responseData\": {\"translatedText\":\"" + noise + "\"}}");
  for (const char* locale : {"zh_CN.UTF-8", "zh_CN.GBK"}) {
    ScopedLocale scoped(locale);
    ASSERT_TRUE(scoped.ok());
    const Text shown = TranslateForDisplay(m_table, "hi", m_table[0].name, ShortLimits());
    EXPECT_FALSE(shown.empty()) << locale;
    // Whatever came is in the code page now: it converts to UTF-8 and back.
    Text utf8 = shown;
    AnsiToUtf8(utf8);
    Text back = utf8;
    Utf8ToAnsi(back);
    EXPECT_EQ(back, shown) << locale;
  }
}

TEST_F(GarbageReplyTest, NoiseWithoutATranslationIsAServiceError) {
  const std::string noise = ValueNoise(4, 16 * 1024);
  Reply("{\"language\":\"" + noise + "\"}",
        "{\"responseData\": null, \"responseDetails\": \"" + noise + "\", \"responseStatus\": 400}");
  for (const char* locale : {"zh_CN.UTF-8", "zh_CN.GBK"}) {
    ScopedLocale scoped(locale);
    ASSERT_TRUE(scoped.ok());
    try {
      TranslateForDisplay(m_table, "hi", m_table[1].name, ShortLimits());
      ADD_FAILURE() << "an error reply must not come back as a translation";
    } catch (const ServiceError& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.rfind("翻译失败：", 0), 0u) << locale;
      EXPECT_TRUE(IsValidUtf8(message)) << locale << ": the service's details must arrive as UTF-8";
      EXPECT_GT(message.size(), std::string("翻译失败：").size()) << "the details are shown";
    }
  }
}

TEST_F(GarbageReplyTest, NoiseWithoutAnyKeyIsAServiceError) {
  std::string noise = NoiseBytes(5, 16 * 1024);
  Reply(noise, noise);
  ScopedLocale scoped("zh_CN.GBK");
  ASSERT_TRUE(scoped.ok());
  EXPECT_THROW(TranslateForDisplay(m_table, "hi", m_table[1].name, ShortLimits()), ServiceError);
}

}  // namespace
}  // namespace parlavo::hostile
