#include "http/envelope.h"

#include <nlohmann/json.hpp>

namespace parlavo::server {

namespace {

using Json = nlohmann::ordered_json;

// Upstream text may hold invalid UTF-8; the reply must not.
std::string Write(const Json& envelope) {
  return envelope.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

std::string DetectionEnvelope(const Detection& detection) {
  Json data;
  data["language"] = detection.language;
  data["isReliable"] = detection.reliable;
  data["confidence"] = detection.confidence;
  return Write(Json{{"responseData", data}, {"responseDetails", nullptr}, {"responseStatus", 200}});
}

std::string TranslationEnvelope(std::string_view translatedText, std::string_view engine, std::string_view details) {
  Json data;
  data["translatedText"] = translatedText;
  if (!engine.empty()) data["engine"] = engine;
  return Write(Json{{"responseData", data},
                    {"responseDetails", details.empty() ? Json(nullptr) : Json(details)},
                    {"responseStatus", 200}});
}

std::string ErrorEnvelope(int status, std::string_view details) {
  return Write(Json{{"responseData", nullptr}, {"responseDetails", details}, {"responseStatus", status}});
}

}  // namespace parlavo::server
