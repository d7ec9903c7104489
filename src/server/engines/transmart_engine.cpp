#include "engines/transmart_engine.h"

#include <chrono>
#include <cstdio>
#include <random>

#include "detection/chinese_variant.h"
#include "engines/language_codes.h"
#include "engines/text_chunks.h"
#include "engines/upstream_json.h"

namespace parlavo::server {

namespace {

using nlohmann::json;

constexpr std::string_view kName = "腾讯交互翻译";

std::string ToTransmart(const std::string& code) {
  if (code.empty()) return "auto";
  if (FamilyOf(code) == LanguageFamily::Chinese) return "zh";
  return ToLowerAscii(code);
}

// "browser-chrome-110.0.0-Mac OS-<uuid4>-<ms since 1970>", as the web page
// makes one for each browser.
std::string MakeClientKey() {
  std::random_device random;
  std::uniform_int_distribution<unsigned> byte(0, 255);
  unsigned char uuid[16];
  for (unsigned char& b : uuid) b = static_cast<unsigned char>(byte(random));
  uuid[6] = static_cast<unsigned char>((uuid[6] & 0x0F) | 0x40);  // version 4
  uuid[8] = static_cast<unsigned char>((uuid[8] & 0x3F) | 0x80);  // RFC 4122 variant
  char text[37];
  std::snprintf(text, sizeof text, "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", uuid[0],
                uuid[1], uuid[2], uuid[3], uuid[4], uuid[5], uuid[6], uuid[7], uuid[8], uuid[9], uuid[10], uuid[11],
                uuid[12], uuid[13], uuid[14], uuid[15]);
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  return "browser-chrome-110.0.0-Mac OS-" + std::string(text) + "-" + std::to_string(now.count());
}

std::vector<std::string> Translations(const json& reply) {
  if (!reply.is_object() || !reply.contains("header") || !reply["header"].is_object()) {
    throw UpstreamError("腾讯交互翻译的回复无法识别");
  }
  const json& header = reply["header"];
  const std::string code = header.value("ret_code", std::string());
  if (code != "succ") {
    throw UpstreamError("腾讯交互翻译拒绝了请求（" + (code.empty() ? std::string("没有返回码") : code) + "）",
                        FailureKind::Refused);
  }
  if (!reply.contains("auto_translation") || !reply["auto_translation"].is_array()) {
    throw UpstreamError("腾讯交互翻译的回复中没有译文");
  }
  std::vector<std::string> translations;
  for (const json& item : reply["auto_translation"]) {
    if (!item.is_string()) throw UpstreamError("腾讯交互翻译的回复中没有译文");
    translations.push_back(item.get<std::string>());
  }
  return translations;
}

void Check(const UpstreamReply& reply) {
  const std::string status = "（HTTP " + std::to_string(reply.status) + "）";
  if (reply.status == 429) throw UpstreamError("腾讯交互翻译限制了请求频率" + status, FailureKind::TooManyRequests);
  if (reply.status == 401 || reply.status == 403) {
    throw UpstreamError("腾讯交互翻译拒绝了请求" + status, FailureKind::Refused);
  }
  if (reply.status != 200) throw UpstreamError("腾讯交互翻译出错" + status);
}

}  // namespace

TransmartEngine::TransmartEngine(std::string baseUrl, UpstreamLimits limits)
    : m_baseUrl(std::move(baseUrl)), m_clientKey(MakeClientKey()), m_limits(limits) {
  while (m_baseUrl.ends_with('/')) m_baseUrl.pop_back();
}

std::string TransmartEngine::Translate(const std::string& text, const std::string& source,
                                       const std::string& target) {
  const UpstreamHeaders headers{"Content-Type: application/json", std::string(kBrowserUserAgent),
                                "Referer: https://transmart.qq.com/zh-CN/index"};
  const bool traditional = IsTraditionalChinese(target);
  const std::string translation =
      TranslateInChunks(text, kMaxChunkChars, m_limits.wholeTextTimeout, [&](const std::string& chunk) {
        return TranslateParagraphs(chunk, kName, [&](const std::vector<std::string>& paragraphs) {
          const json request{{"header", {{"fn", "auto_translation"}, {"client_key", m_clientKey}}},
                             {"type", "plain"},
                             {"model_category", "normal"},
                             {"source", {{"lang", ToTransmart(source)}, {"text_list", paragraphs}}},
                             {"target", {{"lang", ToTransmart(target)}}}};
          UpstreamReply reply = UpstreamPost(m_baseUrl + "/api/imt", headers,
                                                   request.dump(-1, ' ', false, json::error_handler_t::replace),
                                                   m_limits, kName);
          Check(reply);
          return Translations(ParseUpstreamJson(reply));
        });
      });
  return traditional ? ToTraditional(translation) : translation;
}

}  // namespace parlavo::server
