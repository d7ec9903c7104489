#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engines/translation_engine.h"

namespace parlavo::server {

// Engines tried in order for each translation: one that cannot answer hands
// the request to the next, and the last one's failure is the reply's. An
// online engine that failed is passed over for a cool-down, so that without
// network only the first request after it waits at all; the last engine is
// always tried, having none after it. Detection is local and never waits.
class EngineChain : public TranslationEngine {
 public:
  struct Link {
    std::string name;   // as on the command line: "google"
    std::string title;  // as the user reads it: "Google 翻译"
    bool online = false;
    std::unique_ptr<TranslationEngine> engine;
  };
  static constexpr std::chrono::seconds kCoolDown{60};
  using Log = std::function<void(const std::string&)>;

  // `log` gets a line (without prefix) each time an engine starts a
  // cool-down; by default standard error.
  explicit EngineChain(std::vector<Link> links, std::chrono::steady_clock::duration coolDown = kCoolDown,
                       Log log = {});

  Detection Detect(const std::string& text) override;
  std::string Translate(const std::string& text, const std::string& source, const std::string& target) override;
  Translation Answer(const std::string& text, const std::string& source, const std::string& target) override;

 private:
  struct CoolDown {
    std::chrono::steady_clock::time_point until;
    std::string reason;
  };

  // The failure that started the link's cool-down, when it still runs.
  std::optional<std::string> CoolingReason(std::size_t link) const;
  void StartCoolDown(std::size_t link, const std::string& reason);

  std::vector<Link> m_links;
  std::chrono::steady_clock::duration m_coolDown;
  Log m_log;
  mutable std::mutex m_mutex;
  std::vector<CoolDown> m_coolDowns;
};

}  // namespace parlavo::server
