// A detect reply is the one reply whose content goes back out into an
// address: whatever it carries, the translate request asks for nothing more.
#include <string>
#include <vector>

#include "hostile_server_test.h"
#include "net/text_encoding.h"
#include "services/translation_client.h"

namespace parlavo::hostile {
namespace {

class InjectedCodeTest : public HostileServerTest {
 protected:
  void SetUp() override {
    server().Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
      const bool detect = request.target.find("/detect?") != std::string::npos;
      response.set_content(detect ? DetectReply() : R"({"responseData": {"translatedText":"ok"}})",
                           "application/json");
    });
    Start();
    FillLanguageTable(m_table);
  }

  std::string DetectReply() {
    std::lock_guard lock(m_mutex);
    return m_detectReply;
  }

  // The translate address that the client sends after a detect reply of
  // `language` (as written in the JSON).
  std::string TranslateTargetAfter(const std::string& language) {
    {
      std::lock_guard lock(m_mutex);
      m_detectReply = R"({"responseData": {"language":")" + language + R"(","isReliable":true}})";
    }
    const std::size_t before = m_server.Targets().size();
    EXPECT_EQ(TranslateForDisplay(m_table, "hi", m_table[0].name, ShortLimits()), "ok");
    const std::vector<std::string> targets = m_server.Targets();
    EXPECT_EQ(targets.size(), before + 2) << "detect, then translate";
    return targets.empty() ? "" : targets.back();
  }

  static std::string TranslateTarget(const std::string& source) {
    return std::string("http://") + SERVICE_HOST + "/ajax/services/language/translate?v=1.0&q=" + UrlEncode("hi") +
           "&langpair=" + source + "|zh";
  }

  LanguageTable m_table;
  std::mutex m_mutex;
  std::string m_detectReply;
};

TEST_F(InjectedCodeTest, PlainCodesPass) {
  EXPECT_EQ(TranslateTargetAfter("en"), TranslateTarget("en"));
  EXPECT_EQ(TranslateTargetAfter("zh-CN"), TranslateTarget("zh-CN"));
  EXPECT_EQ(TranslateTargetAfter(std::string(12, 'a')), TranslateTarget(std::string(12, 'a')));
}

TEST_F(InjectedCodeTest, AnythingElseIsSentAsNoCode) {
  const std::vector<std::string> hostile = {
      "en&q=x",                     // a second q
      "en&langpair=xx|yy&v=9",      // parameters of its own
      "en|zh",                      // a pair of its own
      "en\\u0026q=x",               // & hidden in an escape
      "en\\r\\nX-Injected: 1",      // a header, escaped
      "en\r\nX-Injected: 1",        // a header, raw (the line ends go, the rest stays)
      "en%26q=x",                   // & already encoded
      "en#fragment",                "en zh", "../../admin", "en\\u0000", "en\\/zh",
      std::string(300, 'a'),        // too long for a code
      std::string(13, 'a'),
      "中文",
  };
  for (const std::string& language : hostile) {
    const std::string target = TranslateTargetAfter(language);
    EXPECT_EQ(target, TranslateTarget("")) << "detected " << language;
  }
}

}  // namespace
}  // namespace parlavo::hostile
