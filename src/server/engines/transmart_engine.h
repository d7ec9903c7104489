#pragma once

#include <string>

#include "engines/translation_engine.h"
#include "engines/upstream_http.h"

namespace parlavo::server {

// Tencent's TranSmart (腾讯交互翻译) as its web page calls it (api/imt: no
// key, a client key of the browser's own making, paragraphs in a list).
// It writes Chinese only in Simplified characters; a Traditional target is
// converted here.
class TransmartEngine : public TranslationEngine {
 public:
  static constexpr std::size_t kMaxChunkChars = 5000;

  // `baseUrl` like "https://transmart.qq.com" (a trailing '/' is fine).
  explicit TransmartEngine(std::string baseUrl, UpstreamLimits limits = {});

  std::string Translate(const std::string& text, const std::string& source, const std::string& target) override;

 private:
  std::string m_baseUrl;
  std::string m_clientKey;
  UpstreamLimits m_limits;
};

}  // namespace parlavo::server
