#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "net/web_fetch.h"

namespace parlavo::hostile {

// Holds a misbehaving handler (one that never answers, or stalls) until the
// test is over; the server can only stop once its handlers have returned.
class Gate {
 public:
  void WaitUntilOpen();
  void Open();

 private:
  std::mutex m_mutex;
  std::condition_variable m_opened;
  bool m_open = false;
};

// Limits short enough that every hostile case ends within seconds.
FetchLimits ShortLimits();

// The message of the InternetError that `request` throws; nullopt (and a
// test failure) when it returns normally or throws something else.
std::optional<std::string> NetworkErrorOf(const std::function<void()>& request);

// A network error as the user sees it: Chinese, valid UTF-8 whatever the
// locale, naming the host that failed, with no library's English in it.
void ExpectChineseErrorNaming(const std::optional<std::string>& message, std::string_view host);

bool IsValidUtf8(std::string_view bytes);

// Whether `message` carries one of libcurl's own (English) error texts.
bool HoldsLibcurlText(std::string_view message);

// Deterministic noise: every byte value, with NULs, CRs, LFs and bytes above
// 0x7F (invalid UTF-8 almost everywhere) much more frequent than by chance.
std::string NoiseBytes(std::uint32_t seed, std::size_t size);

// Host names (with port where there is one) as the client's addresses carry
// them and its error messages name them.
std::string ServiceHost();
std::string MakerHost();

}  // namespace parlavo::hostile
