#pragma once

#include <functional>

#include <wx/string.h>
#include <wx/window.h>

#include "net/web_fetch.h"

namespace parlavo {

using BrowserLauncher = std::function<void(const wxString& url)>;

// Opens `url` in the user's web browser.
void OpenInDefaultBrowser(const wxString& url);

// The check-for-upgrade command: asks the maker's server for the latest
// version and tells the user in a message box owned by `owner`; on a newer
// version the user may have the home page opened through `openBrowser`.
// InternetError is left to the caller, without any of these boxes.
void RunUpdateCheck(wxWindow* owner, const BrowserLauncher& openBrowser = OpenInDefaultBrowser,
                    const FetchLimits& limits = {});

}  // namespace parlavo
