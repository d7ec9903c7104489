#include "ui/update_command.h"

#include <gtk/gtk.h>

#include <string>

#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "services/update_checker.h"
#include "ui/input_method_choice.h"
#include "ui/text_bridge.h"

namespace parlavo {

namespace {

UpdateStatus AskServer(const FetchLimits& limits) {
  // The request blocks the window until the server answers.
  wxBusyCursor busy;
  CUpdateChecker checker(UPDATE_URL, UPDATE_KEY, limits);
  return checker.CheckForUpdate(CURRENT_VERSION);
}

int ShowMessage(wxWindow* owner, const std::string& text, const char* caption, long style) {
  wxMessageDialog box(owner, FromUtf8(text.c_str()), FromUtf8(caption), style);
  return box.ShowModal();
}

}  // namespace

bool OpenInDefaultBrowser(const wxString& url) {
  // What wx does first (gtk_show_uri), with the user's own input method
  // setting for the browser.
  GAppLaunchContext* context = G_APP_LAUNCH_CONTEXT(gdk_display_get_app_launch_context(gdk_display_get_default()));
  GiveUsersInputMethodTo(context);
  const bool opened = g_app_info_launch_default_for_uri(url.utf8_str(), context, nullptr);
  g_object_unref(context);
  if (opened) return true;
  // Where no browser is registered for http, wx tries xdg-open. It would
  // report a failure in English; the caller does it in Chinese.
  wxLogNull quiet;
  return wxLaunchDefaultBrowser(url);
}

void RunUpdateCheck(wxWindow* owner, const BrowserLauncher& openBrowser, const FetchLimits& limits) {
  switch (AskServer(limits)) {
    case UpdateStatus::Newer:
      if (ShowMessage(owner, "有新的版本，是否打开官方网站下载新版本？", "有新版本",
                      wxYES_NO | wxICON_INFORMATION) == wxID_YES &&
          !openBrowser(FromUtf8(HOME_PAGE_URL)))
        ShowMessage(owner, "无法启动网页浏览器，请手动打开官方网站：\n" + std::string(HOME_PAGE_URL), "帕拉沃",
                    wxOK | wxICON_WARNING);
      break;
    case UpdateStatus::Latest:
      ShowMessage(owner, "您使用的是最新的版本哦", "提示", wxOK | wxICON_NONE);
      break;
    case UpdateStatus::Unknown:
      ShowMessage(owner, "无法获取版本信息，请稍后再试", "提示", wxOK | wxICON_WARNING);
      break;
  }
}

}  // namespace parlavo
