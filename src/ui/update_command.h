#pragma once

#include <functional>

#include <wx/string.h>
#include <wx/window.h>

#include "net/web_fetch.h"

namespace parlavo {

// Whether the browser could be started.
using BrowserLauncher = std::function<bool(const wxString& url)>;

// Opens `url` in the user's web browser; reports a failure only by its result.
bool OpenInDefaultBrowser(const wxString& url);

// The check-for-upgrade command: asks the maker's server for the latest
// version and tells the user in a message box owned by `owner`; on a newer
// version the user may have the home page opened through `openBrowser`,
// and is given its address when no browser starts.
// InternetError is left to the caller, without any of these boxes.
void RunUpdateCheck(wxWindow* owner, const BrowserLauncher& openBrowser = OpenInDefaultBrowser,
                    const FetchLimits& limits = {});

}  // namespace parlavo
