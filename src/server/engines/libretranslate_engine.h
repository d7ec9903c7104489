#pragma once

#include <string>

#include "engines/translation_engine.h"
#include "engines/upstream_http.h"

namespace parlavo::server {

// Forwards to a LibreTranslate server (POST /detect, POST /translate).
class LibreTranslateEngine : public TranslationEngine {
 public:
  // `baseUrl` like "http://localhost:5000" (a trailing '/' is fine).
  explicit LibreTranslateEngine(std::string baseUrl, UpstreamLimits limits = {});

  Detection Detect(const std::string& text) override;
  std::string Translate(const std::string& text, const std::string& source, const std::string& target) override;

 private:
  std::string m_baseUrl;
  UpstreamLimits m_limits;
};

}  // namespace parlavo::server
