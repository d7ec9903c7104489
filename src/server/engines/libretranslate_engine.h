#pragma once

#include <atomic>
#include <cstddef>
#include <string>

#include "engines/service_log.h"
#include "engines/translation_engine.h"
#include "engines/upstream_http.h"

namespace parlavo::server {

// Forwards translations to a LibreTranslate server (POST /translate), in
// chunks no longer than the server's own limit.
class LibreTranslateEngine : public TranslationEngine {
 public:
  using Log = ServiceLog;

  // `baseUrl` like "http://localhost:5000" (a trailing '/' is fine); `apiKey`
  // goes with each request unless empty. `log` gets the one line that says
  // the server wants a key none was given for; by default standard error.
  explicit LibreTranslateEngine(std::string baseUrl, std::string apiKey = {}, UpstreamLimits limits = {},
                                Log log = {});

  std::string Translate(const std::string& text, const std::string& source, const std::string& target) override;

 private:
  // Used when the server states no limit of its own.
  static constexpr std::size_t kDefaultChunkChars = 5000;

  // The server's charLimit from /frontend/settings, asked once.
  std::size_t ChunkChars();

  std::string m_baseUrl;
  std::string m_apiKey;
  UpstreamLimits m_limits;
  Log m_log;
  std::atomic<std::size_t> m_chunkChars{0};
};

}  // namespace parlavo::server
