#include "echo_service.h"

namespace parlavo::hostile {

namespace {

std::string JsonQuoted(const std::string& utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::string QueryValue(const std::string& target, const std::string& name) {
  const std::size_t start = target.find("&" + name + "=");
  if (start == std::string::npos) return {};
  const std::size_t valueStart = start + name.size() + 2;
  return target.substr(valueStart, target.find('&', valueStart) - valueStart);
}

std::string PercentDecoded(const std::string& encoded) {
  std::string decoded;
  for (std::size_t pos = 0; pos < encoded.size(); pos += 3) {
    if (encoded[pos] != '%' || pos + 2 >= encoded.size()) return {};
    decoded += static_cast<char>(std::stoi(encoded.substr(pos + 1, 2), nullptr, 16));
  }
  return decoded;
}

std::string EchoService(const std::string& target) {
  if (target.find("/detect?") != std::string::npos) return R"({"responseData": {"language":"zh"}})";
  return R"({"responseData": {"translatedText":)" + JsonQuoted(PercentDecoded(QueryValue(target, "q"))) + "}}";
}

}  // namespace parlavo::hostile
