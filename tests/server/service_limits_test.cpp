#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "engines/engine_chain.h"
#include "engines/microsoft_engine.h"
#include "fake_upstream.h"
#include "http/request_handler.h"
#include "service_fixture.h"
#include "text/ascii.h"

// What many clients, slow engines and other machines can do to the
// service: nobody waits for another's engine, memory stays in its budget,
// and beyond loopback the machine's own names are accepted.
namespace parlavo::server {
namespace {

using namespace testing;

const std::string kDetect = "/ajax/services/language/detect?v=1.0&q=";
const std::string kTranslate = "/ajax/services/language/translate?v=1.0&langpair=en|zh&q=";

// The dictionary engine whose translations wait until the test opens the
// gate, the way an engine waits on a slow upstream.
class GatedEngine : public DictionaryEngine {
 public:
  GatedEngine() : DictionaryEngine(DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX)) {}
  std::string Translate(const std::string& text, const std::string& source, const std::string& target) override {
    std::unique_lock lock(m_mutex);
    ++m_waiting;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return m_open; });
    return DictionaryEngine::Translate(text, source, target);
  }
  // Whether `count` translations are waiting within 5 s.
  bool Waiting(int count) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_waiting >= count; });
  }
  void Open() {
    std::lock_guard lock(m_mutex);
    m_open = true;
    m_changed.notify_all();
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  int m_waiting = 0;
  bool m_open = false;
};

TEST(ServiceLimitsTest, RequestsWaitingOnASlowEngineHoldUpNoOtherConnection) {
  GatedEngine engine;
  RunningService service(engine);
  std::vector<std::thread> translations;
  for (int i = 0; i < 8; ++i) {
    translations.emplace_back([&] { EXPECT_EQ(StatusOf(Get(service.port(), kTranslate + "hello")), 200); });
  }
  EXPECT_TRUE(engine.Waiting(8)) << "every translation has a thread of its own";
  for (int i = 0; i < 40; ++i) EXPECT_EQ(StatusOf(Get(service.port(), kDetect + "hello")), 200) << i;
  engine.Open();
  for (auto& translation : translations) translation.join();
}

TEST(ServiceLimitsTest, WorkBeyondTheMemoryBudgetGets503UntilTheWorkHeldEnds) {
  GatedEngine engine;
  ServerLimits limits;
  limits.workMemory = kWorkBytesPerTextByte * 1000;
  RunningService service(engine, limits);
  const std::string text(600, 'a');
  std::thread first([&] { EXPECT_EQ(StatusOf(Get(service.port(), kTranslate + text)), 200); });
  ASSERT_TRUE(engine.Waiting(1));
  const std::string refused = Get(service.port(), kTranslate + text);
  EXPECT_EQ(StatusOf(refused), 503) << refused;
  EXPECT_TRUE(BodyOf(refused).starts_with(R"({"responseData":null,"responseDetails":"服务繁忙)")) << refused;
  EXPECT_EQ(StatusOf(Get(service.port(), kDetect + "hi")), 200) << "what fits the rest is served";
  engine.Open();
  first.join();
  EXPECT_EQ(StatusOf(Get(service.port(), kTranslate + text)), 200) << "the budget is given back";
}

// An upstream reply draws on the budget while it is read and parsed: one
// that does not fit hands the request to the next engine, without pausing
// the upstream (it did no wrong), or, with no engine after it, gets the 503.
TEST(ServiceLimitsTest, AnUpstreamReplyBeyondTheMemoryBudgetGoesToTheNextEngineOrGets503) {
  FakeUpstream fake;
  fake.Answer("POST /translate/translatetext", 200,
              R"([{"translations":[{"text":")" + std::string(300'000, 'x') + R"("}]}])");
  std::vector<EngineChain::Link> links;
  links.push_back({"microsoft", "微软翻译", true, std::make_unique<MicrosoftEngine>(fake.Url())});
  links.push_back({"dictionary", "离线词典", false,
                   std::make_unique<DictionaryEngine>(DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX))});
  EngineChain chain(std::move(links), EngineChain::kPause, [](const std::string&) {});
  MicrosoftEngine alone(fake.Url());
  struct Case {
    TranslationEngine* engine;
    std::size_t workMemory;
    int status;
    std::string answer;
  };
  for (const auto& [engine, workMemory, status, answer] : std::vector<Case>{
           {&chain, 1024 * 1024, 200, R"("responseDetails":"微软翻译的回复超出内存预算")"},
           {&chain, 4 * 1024 * 1024, 200, R"("engine":"microsoft")"},  // not paused
           {&alone, 1024 * 1024, 503, "服务繁忙"},
       }) {
    ServerLimits limits;
    limits.workMemory = workMemory;
    RunningService service(*engine, limits);
    const std::string reply = Get(service.port(), kTranslate + "good%20morning");
    EXPECT_EQ(StatusOf(reply), status) << workMemory;
    EXPECT_NE(BodyOf(reply).find(answer), std::string::npos) << reply.substr(0, 300);
  }
}

TEST(ServiceLimitsTest, OnlyTheKeptAlivePlacesStayOpenAfterAReply) {
  ServerLimits limits;
  limits.keptAlive = 1;
  RunningService service(RealDictionaryEngine(), limits);
  const std::string request = "GET " + kDetect + "hi HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  RawConnection kept(service.port());
  kept.Send(request);
  const std::string first = kept.ReceiveAll(std::chrono::seconds(1));
  EXPECT_EQ(first.find("Connection: close"), std::string::npos) << first;
  EXPECT_FALSE(kept.closedByPeer());
  RawConnection closed(service.port());
  closed.Send(request);
  EXPECT_NE(closed.ReceiveAll().find("Connection: close"), std::string::npos);
  EXPECT_TRUE(closed.closedByPeer());
  kept.Send(request);
  EXPECT_EQ(StatusOf(kept.ReceiveAll(std::chrono::seconds(1))), 200) << "its place stays its own";
}

// Listening beyond loopback, a request may name the machine as other
// machines know it; a name of someone else's (DNS rebinding) stays refused.
TEST(ServiceLimitsTest, BeyondLoopbackTheMachinesOwnNamesAreAcceptedAsHost) {
  char buffer[HOST_NAME_MAX + 1] = {};
  ASSERT_EQ(gethostname(buffer, sizeof buffer - 1), 0);
  const std::string hostName = ToLowerAscii(buffer);
  MemoryBudget budget(1024 * 1024);
  const RequestHandler network(RealDictionaryEngine(), "0.0.0.0", true, budget);
  const RequestHandler loopback(RealDictionaryEngine(), "::1", false, budget);
  struct Case {
    std::string host;
    int beyondLoopback;
    int onLoopback;
  };
  for (const auto& [host, beyondLoopback, onLoopback] : std::vector<Case>{
           {hostName, 200, 403},
           {hostName + ":8765", 200, 403},
           {"127.0.0.1:8765", 200, 403},  // an interface's address
           {"127.0.0.2", 403, 403},
           {"evil.example", 403, 403},
           {hostName + ".evil.example", 403, 403},
           {"localhost", 200, 200},
       }) {
    const ServiceRequest request{"GET", kDetect + "hi", {host}};
    EXPECT_EQ(network.Handle(request).status, beyondLoopback) << host;
    EXPECT_EQ(loopback.Handle(request).status, onLoopback) << host;
  }
}

}  // namespace
}  // namespace parlavo::server
