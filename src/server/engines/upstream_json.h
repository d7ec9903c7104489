#pragma once

#include <nlohmann/json.hpp>

#include <string_view>

namespace parlavo::server {

// An upstream's reply body as JSON, or a discarded value when it is not
// JSON or nests deeper, or holds more values, than any honest reply:
// a hostile reply of 8 MiB ("[[[[…" or "[0,0,0,…") then costs a few
// megabytes, not the hundreds a plain parse would.
nlohmann::json ParseUpstreamJson(std::string_view body);

}  // namespace parlavo::server
