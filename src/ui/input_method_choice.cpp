#include "ui/input_method_choice.h"

#include <gio/gio.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "net/text_encoding.h"
#include "text/ascii.h"

namespace parlavo {

namespace {

struct KnownInputMethod {
  std::string_view ximName;                  // as XMODIFIERS names it
  std::vector<std::string_view> gtkModules;  // its GTK 3 context ids, preferred first
  std::string_view package;                  // the Debian package with that module
};

// fcitx 5 still calls its XIM server and its GTK module "fcitx".
const std::vector<KnownInputMethod>& KnownInputMethods() {
  static const std::vector<KnownInputMethod> known{
      {"fcitx", {"fcitx", "fcitx5"}, "fcitx5-frontend-gtk3"},
      {"fcitx5", {"fcitx5", "fcitx"}, "fcitx5-frontend-gtk3"},
      {"ibus", {"ibus"}, "ibus-gtk3"},
  };
  return known;
}

bool Contains(const std::vector<std::string>& list, std::string_view item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// GTK takes the first entry of a colon-separated GTK_IM_MODULE that it has;
// with none of them, it chooses as if the variable were unset.
bool SelectsXim(const InputMethodEnvironment& environment, const std::vector<std::string>& installedModules) {
  if (environment.gtkImModule && !environment.gtkImModule->empty()) {
    std::istringstream entries(*environment.gtkImModule);
    for (std::string entry; std::getline(entries, entry, ':');) {
      if (entry == "xim") return true;
      if (entry == "gtk-im-context-simple" || entry == "gtk-im-context-none" || Contains(installedModules, entry)) {
        return false;
      }
    }
  }
  return environment.xModifiers && !environment.xModifiers->empty();
}

// "@im=fcitx" -> "fcitx"; "" where XMODIFIERS names no input method.
std::string XimName(const std::optional<std::string>& xModifiers) {
  if (!xModifiers) return "";
  const std::size_t start = xModifiers->find("@im=");
  if (start == std::string::npos) return "";
  const std::size_t from = start + 4;
  const std::string name = ToLowerAscii(xModifiers->substr(from, xModifiers->find('@', from) - from));
  return name == "none" ? "" : name;
}

// Whether this program changed GTK_IM_MODULE, and what the user had there.
bool replacedGtkImModule = false;
std::optional<std::string> usersGtkImModule;

std::optional<std::string> Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

InputMethodChoice ChooseInputMethod(const InputMethodEnvironment& environment,
                                    const std::vector<std::string>& installedModules) {
  if (!SelectsXim(environment, installedModules)) return {};
  const std::string name = XimName(environment.xModifiers);
  if (name.empty()) return {};
  const auto& known = KnownInputMethods();
  const auto method =
      std::find_if(known.begin(), known.end(), [&name](const KnownInputMethod& m) { return m.ximName == name; });
  const std::string problem = "parlavo：输入法 " + name + " 经 XIM 连接，回车和退格可能失灵；";
  if (method == known.end()) return {"", problem + "请设置 GTK_IM_MODULE，改用它的 GTK 3 模块"};
  for (std::string_view module : method->gtkModules) {
    if (Contains(installedModules, module)) return {std::string(module), ""};
  }
  return {"", problem + "请安装 " + std::string(method->package) + "（它的 GTK 3 模块），帕拉沃即会改用它"};
}

std::vector<std::string> ContextIdsInCache(std::string_view cache) {
  // A module's file name is a line of one quoted string; each of its
  // contexts follows as a line of five: id, name, domain, locale dir, locales.
  std::vector<std::string> ids;
  std::istringstream lines{std::string(cache)};
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    for (std::size_t open = line.find('"'); open != std::string::npos;) {
      const std::size_t close = line.find('"', open + 1);
      if (close == std::string::npos) break;
      fields.push_back(line.substr(open + 1, close - open - 1));
      open = line.find('"', close + 1);
    }
    if (fields.size() >= 5) ids.push_back(fields[0]);
  }
  return ids;
}

void AvoidXimWhereGtkModuleInstalled() {
  // GTK reads the same file: GTK_IM_MODULE_FILE, or its own cache.
  const std::optional<std::string> cacheFile = Variable("GTK_IM_MODULE_FILE");
  const std::vector<std::string> installed =
      ContextIdsInCache(ReadFile(cacheFile && !cacheFile->empty() ? *cacheFile : PARLAVO_GTK_IM_MODULE_CACHE));
  const InputMethodEnvironment environment{Variable("GTK_IM_MODULE"), Variable("XMODIFIERS")};
  const InputMethodChoice choice = ChooseInputMethod(environment, installed);
  if (!choice.gtkImModule.empty()) {
    replacedGtkImModule = true;
    usersGtkImModule = environment.gtkImModule;
    setenv("GTK_IM_MODULE", choice.gtkImModule.c_str(), 1);
  }
  if (!choice.warning.empty()) {
    Text line = choice.warning;
    Utf8ToAnsi(line);
    std::fprintf(stderr, "%s\n", line.c_str());
  }
}

void GiveUsersInputMethodTo(GAppLaunchContext* context) {
  if (!replacedGtkImModule) return;
  if (usersGtkImModule)
    g_app_launch_context_setenv(context, "GTK_IM_MODULE", usersGtkImModule->c_str());
  else
    g_app_launch_context_unsetenv(context, "GTK_IM_MODULE");
}

}  // namespace parlavo
