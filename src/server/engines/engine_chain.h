#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engines/service_log.h"
#include "engines/translation_engine.h"

namespace parlavo::server {

// Engines tried in order for each translation: one that cannot answer hands
// the request to the next, and the last one's failure is the reply's. An
// online engine that failed is passed over for a pause that doubles with
// each failure in a row (an answer ends the row), so that a blocked engine
// costs a few waits an hour; the last engine is always tried, having none
// after it. The online engines of one request share one connect wait, so
// that with all of them unreachable a request waits no longer than for one:
// each gets half of what is left, the last one all of it.
class EngineChain : public TranslationEngine {
 public:
  struct Link {
    std::string name;   // as on the command line: "google"
    std::string title;  // as the user reads it: "Google 翻译"
    bool online = false;
    std::unique_ptr<TranslationEngine> engine;
  };
  static constexpr std::chrono::seconds kPause{60};
  static constexpr std::chrono::minutes kLongestPause{30};
  static constexpr std::chrono::milliseconds kConnectWait{2500};
  using Log = ServiceLog;

  // `log` gets a line (without prefix) each time an engine starts a pause;
  // by default standard error.
  explicit EngineChain(std::vector<Link> links, std::chrono::steady_clock::duration firstPause = kPause, Log log = {});

  std::string Translate(const std::string& text, const std::string& source, const std::string& target) override;
  Translation Answer(const std::string& text, const std::string& source, const std::string& target) override;

 private:
  struct Pause {
    std::chrono::steady_clock::time_point until;
    int failures = 0;  // in a row
    FailureKind kind = FailureKind::Faulty;
  };

  // The failure that paused the link, while the pause runs.
  std::optional<FailureKind> Paused(std::size_t link) const;
  void StartPause(std::size_t link, const UpstreamError& error);
  void EndPause(std::size_t link);
  // The few words the reply gives for an answer from `answered`, given why
  // each link before it did not answer.
  std::string Details(std::size_t answered, const std::vector<std::string>& reasons, bool allUnreachable) const;

  std::vector<Link> m_links;
  std::chrono::steady_clock::duration m_firstPause;
  Log m_log;
  mutable std::mutex m_mutex;
  std::vector<Pause> m_pauses;
};

}  // namespace parlavo::server
