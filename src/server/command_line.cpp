#include "command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>

#include "engines/upstream_http.h"

namespace parlavo::server {

namespace {

constexpr const char* kEngineNames[] = {"microsoft", "transmart", "google", "libretranslate", "dictionary"};

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

void CheckEngines(const std::vector<std::string>& engines) {
  for (auto name = engines.begin(); name != engines.end(); ++name) {
    if (std::find(std::begin(kEngineNames), std::end(kEngineNames), *name) == std::end(kEngineNames)) {
      throw UsageError("未知的翻译引擎：" + *name + "（可选 microsoft、transmart、google、libretranslate、dictionary，用逗号分隔）");
    }
    if (std::find(engines.begin(), name, *name) != name) throw UsageError("翻译引擎重复：" + *name);
  }
}

void CheckUrl(const char* option, const std::string& url) {
  if (!IsWebAddress(url)) {
    throw UsageError(std::string(option) + " 应为 http:// 或 https:// 开头的地址");
  }
}

// CLI11 explains in English; the service speaks Chinese.
UsageError InChinese(const CLI::ParseError& error) {
  const std::string what = error.what();
  const std::string option = what.starts_with("--") ? what.substr(0, what.find(':')) : std::string();
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) && !option.empty()) return UsageError(option + " 缺少值");
  return UsageError("命令行无效（用 --help 查看用法）：" + what);
}

}  // namespace

ServiceOptions ParseCommandLine(const std::vector<std::string>& arguments) {
  ServiceOptions options;
  std::string listen;
  std::vector<std::string> engines;
  CLI::App app;
  app.set_help_flag();  // the usage text is our own, in Chinese
  app.allow_extras();
  app.add_flag("-h,--help", options.help);
  // Given twice, the last one holds, as in most programs.
  const auto last = CLI::MultiOptionPolicy::TakeLast;
  app.add_option("--listen", listen)->multi_option_policy(last);
  app.add_option("--engine", engines)->delimiter(',')->allow_extra_args(false);
  app.add_option("--microsoft-url", options.microsoftUrl)->multi_option_policy(last);
  app.add_option("--transmart-url", options.transmartUrl)->multi_option_policy(last);
  app.add_option("--google-url", options.googleUrl)->multi_option_policy(last);
  app.add_option("--libretranslate-url", options.libretranslateUrl)->multi_option_policy(last);
  app.add_option("--libretranslate-key", options.libretranslateKey)->multi_option_policy(last);
  try {
    app.parse(std::vector<std::string>(arguments.rbegin(), arguments.rend()));
  } catch (const CLI::ParseError& error) {
    throw InChinese(error);
  }
  if (const auto extras = app.remaining(); !extras.empty()) {
    throw UsageError("未知的选项：" + extras.front() + "（用 --help 查看用法）");
  }
  if (options.help) return options;
  if (app.count("--listen")) ParseListen(listen, options);
  if (app.count("--engine")) {
    if (engines.empty()) throw UsageError("--engine 缺少值");
    CheckEngines(engines);
    options.engines = engines;
  }
  CheckUrl("--microsoft-url", options.microsoftUrl);
  CheckUrl("--transmart-url", options.transmartUrl);
  CheckUrl("--google-url", options.googleUrl);
  CheckUrl("--libretranslate-url", options.libretranslateUrl);
  return options;
}

std::string UsageText() {
  return "用法：parlavo-service [选项]\n"
         "帕拉沃的本机翻译服务：在本机回答帕拉沃窗口的语言检测和翻译请求。\n"
         "\n"
         "选项：\n"
         "  --listen 主机:端口         监听的地址（默认 127.0.0.1:8765；IPv6 写作 [::1]:8765）。\n"
         "                             不是本机回环地址（如 0.0.0.0）时，局域网里的其他机器也能使用本服务。\n"
         "  --engine 引擎[,引擎...]    依次尝试的翻译引擎，用逗号分隔\n"
         "                             （默认 microsoft,transmart,google,dictionary）：\n"
         "                               microsoft       微软翻译（Edge 浏览器的翻译接口，需要联网）\n"
         "                               transmart       腾讯交互翻译（网页版的接口，需要联网）\n"
         "                               google          Google 翻译的公开网页接口（需要联网）\n"
         "                               libretranslate  自己运行的 LibreTranslate 服务器\n"
         "                               dictionary      离线逐词翻译，使用 CC-CEDICT 汉英词典\n"
         "                             一个引擎无法回答时（连不上、超时、限流、出错）改用下一个；\n"
         "                             在线引擎出错后 60 秒内不再尝试，接连出错则间隔加倍，最长 30 分钟。\n"
         "  --microsoft-url 地址       微软翻译接口的地址（默认 https://edge.microsoft.com）\n"
         "  --transmart-url 地址       腾讯交互翻译接口的地址（默认 https://transmart.qq.com）\n"
         "  --google-url 地址          Google 接口的地址（默认 https://translate.googleapis.com）\n"
         "  --libretranslate-url 地址  LibreTranslate 服务器的地址（默认 http://127.0.0.1:5000）\n"
         "  --libretranslate-key 密钥  LibreTranslate 服务器要求的 API 密钥\n"
         "  --help                     显示本说明\n"
         "\n"
         "隐私：使用默认的引擎列表时，只要本机联网，要翻译的文本就会发送给微软（Microsoft）；\n"
         "微软无法回答时发送给腾讯（Tencent），再不行则发送给 Google。\n"
         "用 --engine dictionary 则一切都留在本机，不连接任何网络。语言检测总在本机进行。\n"
         "\n"
         "由 systemd 的套接字单元启动时，使用其传入的套接字，不再自行监听。\n"
         "请求的 Host 必须是监听的地址或 localhost，其余一律拒绝（403）；\n"
         "监听的不是本机回环地址时，也接受本机的主机名（及其 .local 形式）和本机网卡的地址。\n";
}

}  // namespace parlavo::server
