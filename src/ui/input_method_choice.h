#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

using GAppLaunchContext = struct _GAppLaunchContext;

namespace parlavo {

// wxGTK does not support XIM: over it Return and BackSpace with nothing
// being composed do nothing, and the input method and the window pass keys
// back and forth. The input methods Chinese users run, fcitx and IBus, come
// with GTK modules that do not have these faults.

// The environment as GTK reads it when it picks an input method module.
struct InputMethodEnvironment {
  std::optional<std::string> gtkImModule;  // GTK_IM_MODULE
  std::optional<std::string> xModifiers;   // XMODIFIERS, e.g. "@im=fcitx"
};

struct InputMethodChoice {
  std::string gtkImModule;  // the value to give GTK_IM_MODULE; empty: leave it as it is
  std::string warning;      // one line (UTF-8) for standard error; empty: none
};

// Where the environment selects XIM and the GTK module of the input method
// that XMODIFIERS names is among `installedModules` (GTK's context ids), that
// module; where it is not installed, XIM stays and the warning names the
// package to install. Any other environment stays as it is.
InputMethodChoice ChooseInputMethod(const InputMethodEnvironment& environment,
                                    const std::vector<std::string>& installedModules);

// The context ids ("fcitx", "ibus", "xim", ...) that a GTK 3 immodules.cache
// lists.
std::vector<std::string> ContextIdsInCache(std::string_view cache);

// Applies ChooseInputMethod to this process: call before GTK starts, after
// the locale is set (the warning is written in its character set).
void AvoidXimWhereGtkModuleInstalled();

// Programs started through `context` (the web browser) get GTK_IM_MODULE as
// the user set it, not as AvoidXimWhereGtkModuleInstalled changed it.
void GiveUsersInputMethodTo(GAppLaunchContext* context);

}  // namespace parlavo
