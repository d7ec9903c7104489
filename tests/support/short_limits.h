#pragma once

#include <chrono>

#include "net/web_fetch.h"

namespace parlavo::testing {

// Limits short enough that every misbehaving server ends a test within seconds.
inline FetchLimits ShortLimits() {
  using namespace std::chrono_literals;
  FetchLimits limits;
  limits.connectTimeout = 2s;
  limits.stallTimeout = 1s;
  limits.maxBodyBytes = 1024 * 1024;
  return limits;
}

}  // namespace parlavo::testing
