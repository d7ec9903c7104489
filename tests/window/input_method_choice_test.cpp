#include <gtest/gtest.h>

#include "ui/input_method_choice.h"

// Which GTK input method module the window asks for, from the environment
// and GTK's list of installed modules. (Reading that list from GTK's cache is
// left to scripts/check-input-method, against the real file.)
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

}  // namespace
}  // namespace parlavo
