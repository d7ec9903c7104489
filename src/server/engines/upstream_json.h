#pragma once

#include <nlohmann/json.hpp>

#include "engines/upstream_http.h"

namespace parlavo::server {

// An upstream's reply body as JSON, or a discarded value when it is not
// JSON or nests deeper, or holds more values or memory (kMaxReplyMemory),
// than any honest reply: a hostile reply of 8 MiB ("[[[[…" or "[0,0,0,…")
// then costs a few megabytes, not the hundreds a plain parse would. The
// parse's memory is charged to the reply (ChargeReply), so the result must
// not outlive it; UpstreamError (OverBudget) when the budget is spent.
nlohmann::json ParseUpstreamJson(UpstreamReply& reply);

}  // namespace parlavo::server
