#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "ui/input_method_choice.h"

// Which GTK input method module the window asks for, from the environment
// and GTK's list of installed modules. (GTK's own cache is read by
// scripts/check-input-method, against the real file.)
namespace parlavo {
namespace {

TEST(InputMethodChoice, OnlyXimIsReplacedAndOnlyByTheRunningInputMethodsModule) {
  const std::vector<std::string> all{"fcitx", "fcitx5", "ibus", "xim", "wayland"};
  const std::vector<std::string> bare{"xim", "wayland"};
  const std::optional<std::string> unset;
  const struct {
    std::optional<std::string> gtkImModule, xModifiers;
    const std::vector<std::string>& installed;
    const char* module;   // chosen; "" to leave the environment alone
    const char* package;  // named on standard error; "" for no line
  } cases[] = {
      {"xim", "@im=fcitx", all, "fcitx", ""},
      {"xim", "@im=ibus", all, "ibus", ""},
      {unset, "@im=ibus", all, "ibus", ""},
      {"", "@im=fcitx", all, "fcitx", ""},
      {"wayland:xim", "@im=fcitx", all, "", ""},  // GTK takes the first it has
      {"nonesuch:xim", "@im=fcitx", all, "fcitx", ""},
      {"xim", "@im=fcitx", bare, "", "fcitx5-frontend-gtk3"},
      {"xim", "@im=ibus", bare, "", "ibus-gtk3"},
      {"fcitx", "@im=fcitx", bare, "", "fcitx5-frontend-gtk3"},  // missing: GTK chooses as if unset
      {"fcitx", "@im=fcitx", all, "", ""},
      {"ibus", "@im=fcitx", all, "", ""},
      {"gtk-im-context-simple", "@im=fcitx", bare, "", ""},
      {unset, unset, all, "", ""},
      {"xim", unset, all, "", ""},
      {"xim", "@im=none", all, "", ""},
      {"xim", "@im=uim", all, "", "GTK_IM_MODULE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gtkImModule.value_or("(unset)") + " " + c.xModifiers.value_or("(unset)"));
    const InputMethodChoice choice = ChooseInputMethod({c.gtkImModule, c.xModifiers}, c.installed);
    EXPECT_EQ(choice.gtkImModule, c.module);
    if (*c.package == '\0') {
      EXPECT_EQ(choice.warning, "");
    } else {
      EXPECT_NE(choice.warning.find(c.package), std::string::npos) << choice.warning;
    }
  }
}

// The window's GTK takes the module it switched to; the web browser it starts
// gets the user's own setting back, "xim" or none.
TEST(InputMethodChoice, TheBrowserGetsTheUsersOwnSetting) {
  const std::string cache = ::testing::TempDir() + "immodules.cache";
  std::ofstream(cache) << "\"/usr/lib/im-fcitx.so\"\n\"fcitx\" \"Fcitx\" \"fcitx\" \"\" \"zh:*\"\n";
  const char* const names[] = {"GTK_IM_MODULE", "XMODIFIERS", "GTK_IM_MODULE_FILE"};
  gchar** saved = g_get_environ();
  for (const char* users : {"xim", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(users ? users : "(unset)");
    users ? setenv(names[0], users, 1) : unsetenv(names[0]);
    setenv(names[1], "@im=fcitx", 1);
    setenv(names[2], cache.c_str(), 1);
    AvoidXimWhereGtkModuleInstalled();
    EXPECT_STREQ(std::getenv(names[0]), "fcitx");
    GAppLaunchContext* context = g_app_launch_context_new();
    GiveUsersInputMethodTo(context);
    gchar** browsers = g_app_launch_context_get_environment(context);
    EXPECT_STREQ(g_environ_getenv(browsers, names[0]), users);
    g_strfreev(browsers);
    g_object_unref(context);
  }
  for (const char* name : names) {
    const char* value = g_environ_getenv(saved, name);
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  g_strfreev(saved);
}

}  // namespace
}  // namespace parlavo
