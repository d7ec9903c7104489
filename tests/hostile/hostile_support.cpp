#include "hostile_support.h"

#include <gtest/gtest.h>

#include <curl/curl.h>

#include <random>

#include "services/translation_client.h"
#include "services/update_checker.h"

namespace parlavo::hostile {

using namespace std::chrono_literals;

void Gate::WaitUntilOpen() {
  std::unique_lock lock(m_mutex);
  m_opened.wait(lock, [this] { return m_open; });
}

void Gate::Open() {
  {
    std::lock_guard lock(m_mutex);
    m_open = true;
  }
  m_opened.notify_all();
}

FetchLimits ShortLimits() {
  FetchLimits limits;
  limits.connectTimeout = 2s;
  limits.stallTimeout = 1s;
  limits.maxBodyBytes = 1024 * 1024;
  return limits;
}

std::optional<std::string> NetworkErrorOf(const std::function<void()>& request) {
  try {
    request();
  } catch (const InternetError& error) {
    return std::string(error.what());
  } catch (const std::exception& error) {
    ADD_FAILURE() << "expected an InternetError, got another exception: " << error.what();
    return std::nullopt;
  }
  ADD_FAILURE() << "expected an InternetError, the request came back normally";
  return std::nullopt;
}

void ExpectChineseErrorNaming(const std::optional<std::string>& message, std::string_view host) {
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->rfind("网络错误：", 0), 0u) << *message;
  EXPECT_NE(message->find(host), std::string::npos) << *message << " does not name " << host;
  EXPECT_TRUE(IsValidUtf8(*message)) << "not UTF-8: " << *message;
  EXPECT_FALSE(HoldsLibcurlText(*message)) << "libcurl's English slipped in: " << *message;
}

bool HoldsLibcurlText(std::string_view message) {
  for (int code = CURLE_OK + 1; code < CURL_LAST; ++code) {
    if (message.find(curl_easy_strerror(static_cast<CURLcode>(code))) != std::string_view::npos) return true;
  }
  return false;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4                 ? 4
                                                                               : 0;
    if (length == 0 || pos + length > bytes.size()) return false;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
      const auto trail = static_cast<unsigned char>(bytes[pos + i]);
      if ((trail & 0xC0) != 0x80) return false;
      c = (c << 6) | (trail & 0x3F);
    }
    const char32_t shortest = length == 1 ? 0 : length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (c < shortest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    pos += length;
  }
  return true;
}

std::string NoiseBytes(std::uint32_t seed, std::size_t size) {
  std::mt19937 random(seed);
  static constexpr char kFavourites[] = {'\0', '\r', '\n', '"', '\\', '\xC0', '\xE4', '\xFF'};
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    const auto roll = random();
    byte = roll % 4 == 0 ? kFavourites[(roll >> 8) % sizeof kFavourites] : static_cast<char>(roll >> 16);
  }
  return bytes;
}

std::string ServiceHost() { return SERVICE_HOST; }

std::string MakerHost() {
  const std::string url = UPDATE_URL;
  const std::size_t start = url.find("//") + 2;
  return url.substr(start, url.find('/', start) - start);
}

}  // namespace parlavo::hostile
