#include "command_line.h"

#include <charconv>
#include <stdexcept>

namespace parlavo::server {

namespace {

void ParseListen(const std::string& value, ServiceOptions& options) {
  const auto colon = value.rfind(':');
  if (colon == std::string::npos || colon == 0) throw UsageError("--listen 的值应为 主机:端口，例如 127.0.0.1:8765");
  std::string host = value.substr(0, colon);
  if (host.starts_with('[')) {
    if (!host.ends_with(']') || host.size() < 3) throw UsageError("--listen 中的 IPv6 地址应写在方括号内，例如 [::1]:8765");
    host = host.substr(1, host.size() - 2);
  } else if (host.find(':') != std::string::npos) {
    throw UsageError("--listen 中的 IPv6 地址应写在方括号内，例如 [::1]:8765");
  }
  const std::string portText = value.substr(colon + 1);
  int port = -1;
  const auto [end, error] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
  if (portText.empty() || error != std::errc() || end != portText.data() + portText.size() || port < 0 ||
      port > 65535) {
    throw UsageError("--listen 中的端口无效：" + portText + "（应为 0 到 65535）");
  }
  options.host = host;
  options.port = port;
}

EngineKind ParseEngine(const std::string& value) {
  if (value == "dictionary") return EngineKind::Dictionary;
  if (value == "libretranslate") return EngineKind::LibreTranslate;
  if (value == "google") return EngineKind::Google;
  throw UsageError("未知的翻译引擎：" + value + "（可选 dictionary、libretranslate、google）");
}

}  // namespace

ServiceOptions ParseCommandLine(const std::vector<std::string>& arguments) {
  ServiceOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string name = arguments[i];
    std::optional<std::string> value;
    if (const auto equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    if (name == "--help" || name == "-h") {
      if (value) throw UsageError("--help 不带值");
      options.help = true;
      continue;
    }
    if (name != "--listen" && name != "--engine" && name != "--upstream") {
      throw UsageError("未知的选项：" + arguments[i] + "（用 --help 查看用法）");
    }
    if (!value) {
      if (i + 1 >= arguments.size()) throw UsageError(name + " 缺少值");
      value = arguments[++i];
    }
    if (name == "--listen") {
      ParseListen(*value, options);
    } else if (name == "--engine") {
      options.engine = ParseEngine(*value);
    } else {
      if (value->empty()) throw UsageError("--upstream 的值不能为空");
      options.upstream = *value;
    }
  }
  if (options.help) return options;
  if (options.engine == EngineKind::LibreTranslate && options.upstream.empty()) {
    throw UsageError("libretranslate 引擎需要用 --upstream 指定 LibreTranslate 服务器的地址，例如 http://localhost:5000");
  }
  if (options.engine == EngineKind::Dictionary && !options.upstream.empty()) {
    throw UsageError("dictionary 引擎离线工作，不使用 --upstream");
  }
  if (!options.upstream.empty() && !options.upstream.starts_with("http://") && !options.upstream.starts_with("https://")) {
    throw UsageError("--upstream 应为 http:// 或 https:// 开头的地址");
  }
  return options;
}

std::string UsageText() {
  return "用法：parlavo-service [选项]\n"
         "帕拉沃的本机翻译服务：在本机回答帕拉沃窗口的语言检测和翻译请求。\n"
         "\n"
         "选项：\n"
         "  --listen 主机:端口   监听的地址（默认 127.0.0.1:8765；IPv6 写作 [::1]:8765）\n"
         "  --engine 引擎        翻译引擎（默认 dictionary）：\n"
         "                         dictionary      离线逐词翻译，使用 CC-CEDICT 汉英词典\n"
         "                         libretranslate  转发给自己运行的 LibreTranslate 服务器\n"
         "                         google          转发给 Google 翻译的网页接口（需要联网）\n"
         "  --upstream 地址      上游服务器的地址：libretranslate 必须指定（如 http://localhost:5000）；\n"
         "                       google 默认为 https://translate.googleapis.com\n"
         "  --help               显示本说明\n"
         "\n"
         "由 systemd 的套接字单元启动时，使用其传入的套接字，不再自行监听。\n"
         "请求的 Host 必须是监听的地址或 localhost，其余一律拒绝（403）。\n";
}

}  // namespace parlavo::server
