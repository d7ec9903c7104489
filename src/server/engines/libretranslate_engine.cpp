#include "engines/libretranslate_engine.h"

#include "engines/language_codes.h"
#include "engines/text_chunks.h"
#include "engines/upstream_json.h"

namespace parlavo::server {

namespace {

using nlohmann::json;

constexpr std::string_view kName = "LibreTranslate";

// LibreTranslate names Chinese "zh", and Traditional Chinese "zt".
std::string ToUpstream(const std::string& code) {
  if (code.empty()) return "auto";
  if (IsTraditionalChinese(code)) return "zt";
  if (FamilyOf(code) == LanguageFamily::Chinese) return "zh";
  return ToLowerAscii(code);
}

bool IsTrue(const json& settings, const char* key) {
  return settings.contains(key) && settings[key].is_boolean() && settings[key].get<bool>();
}

std::string ErrorText(const json& reply) {
  if (reply.is_object() && reply.contains("error") && reply["error"].is_string()) {
    return reply["error"].get<std::string>();
  }
  return {};
}

// The parsed body of a successful reply; anything else becomes the error
// the envelope reports.
json Call(const std::string& url, const json& request, const UpstreamLimits& limits) {
  UpstreamReply reply = UpstreamPost(url, {"Content-Type: application/json"},
                                           request.dump(-1, ' ', false, json::error_handler_t::replace), limits, kName);
  const json body = ParseUpstreamJson(reply);
  const std::string error = ErrorText(body);
  const std::string detail = error.empty() ? std::string() : "：" + error;
  if (reply.status == 429) {
    throw UpstreamError("LibreTranslate 限制了请求频率（HTTP 429）" + detail, FailureKind::TooManyRequests);
  }
  if (reply.status == 400) throw UpstreamRejection("LibreTranslate 拒绝了请求" + detail);
  if (reply.status == 403) {
    throw UpstreamError("LibreTranslate 拒绝访问（HTTP 403），API 密钥无效或本机已被限制" + detail,
                        FailureKind::Refused);
  }
  if (reply.status != 200) {
    throw UpstreamError("LibreTranslate 出错（HTTP " + std::to_string(reply.status) + "）" + detail);
  }
  if (body.is_discarded()) throw UpstreamError("LibreTranslate 的回复无法识别");
  return body;
}

}  // namespace

LibreTranslateEngine::LibreTranslateEngine(std::string baseUrl, std::string apiKey, UpstreamLimits limits, Log log)
    : m_baseUrl(std::move(baseUrl)),
      m_apiKey(std::move(apiKey)),
      m_limits(limits),
      m_log(log ? std::move(log) : Log(WriteToStandardError)) {
  while (m_baseUrl.ends_with('/')) m_baseUrl.pop_back();
}

std::size_t LibreTranslateEngine::ChunkChars() {
  if (const std::size_t known = m_chunkChars.load()) return known;
  // An unreachable server throws here. The settings, or a server too old to
  // have them (404), settle the limit for good; another error only for now.
  UpstreamReply reply = UpstreamGet(m_baseUrl + "/frontend/settings", {}, m_limits, kName);
  const json settings = ParseUpstreamJson(reply);
  std::size_t limit = kDefaultChunkChars;
  if (reply.status == 200 && settings.is_object() && settings.contains("charLimit") &&
      settings["charLimit"].is_number_integer() && settings["charLimit"].get<long long>() > 0) {
    limit = settings["charLimit"].get<std::size_t>();
  }
  if ((reply.status == 200 || reply.status == 404) && m_chunkChars.exchange(limit) == 0 && m_apiKey.empty() &&
      settings.is_object() && IsTrue(settings, "keyRequired")) {
    m_log("LibreTranslate 服务器（" + HostOf(m_baseUrl) + "）要求 API 密钥，请用 --libretranslate-key 给出");
  }
  return limit;
}

std::string LibreTranslateEngine::Translate(const std::string& text, const std::string& source,
                                            const std::string& target) {
  return TranslateInChunks(text, ChunkChars(), m_limits.wholeTextTimeout, [&](const std::string& chunk) {
    json request{{"q", chunk}, {"source", ToUpstream(source)}, {"target", ToUpstream(target)}, {"format", "text"}};
    if (!m_apiKey.empty()) request["api_key"] = m_apiKey;
    const json body = Call(m_baseUrl + "/translate", request, m_limits);
    if (!body.is_object() || !body.contains("translatedText") || !body["translatedText"].is_string()) {
      throw UpstreamError("LibreTranslate 的回复中没有译文");
    }
    return body["translatedText"].get<std::string>();
  });
}

}  // namespace parlavo::server
