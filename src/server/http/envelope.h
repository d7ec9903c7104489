#pragma once

#include <string>
#include <string_view>

#include "detection/language_detector.h"

// Reply bodies of the AJAX Language API v1.0 envelope, compact (no blanks),
// as the desktop client reads "key":"value" members without parsing JSON.
namespace parlavo::server {

std::string DetectionEnvelope(const Detection& detection);
// `engine` (when not empty) names who translated, in responseData;
// `details` (when not empty) says why not the first engine.
std::string TranslationEnvelope(std::string_view translatedText, std::string_view engine = {},
                                std::string_view details = {});
// {"responseData":null,"responseDetails":DETAILS,"responseStatus":STATUS}
std::string ErrorEnvelope(int status, std::string_view details);

}  // namespace parlavo::server
