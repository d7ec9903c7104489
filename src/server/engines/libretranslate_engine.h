#pragma once

#include <atomic>
#include <cstddef>
#include <string>

#include "engines/translation_engine.h"
#include "engines/upstream_http.h"

namespace parlavo::server {

// Forwards translations to a LibreTranslate server (POST /translate), in
// chunks no longer than the server's own limit. Detection stays local, as
// with every engine: the same answer whichever engine translates.
class LibreTranslateEngine : public TranslationEngine {
 public:
  // `baseUrl` like "http://localhost:5000" (a trailing '/' is fine).
  explicit LibreTranslateEngine(std::string baseUrl, UpstreamLimits limits = {});

  Detection Detect(const std::string& text) override;
  std::string Translate(const std::string& text, const std::string& source, const std::string& target) override;

 private:
  // Used when the server states no limit of its own.
  static constexpr std::size_t kDefaultChunkChars = 5000;

  // The server's charLimit from /frontend/settings, asked once.
  std::size_t ChunkChars();

  std::string m_baseUrl;
  UpstreamLimits m_limits;
  std::atomic<std::size_t> m_chunkChars{0};
};

}  // namespace parlavo::server
