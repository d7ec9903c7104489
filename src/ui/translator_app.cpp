#include "ui/translator_app.h"

#include <gdk/gdkx.h>
#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <new>
#include <string>

#include <wx/log.h>
#include <wx/msgdlg.h>

#include "net/web_fetch.h"
#include "services/translation_client.h"
#include "ui/single_window.h"
#include "ui/text_bridge.h"
#include "ui/translator_dlg.h"

namespace parlavo {

namespace {

void ShowError(const wxString& message) {
  wxMessageBox(message, wxS("帕拉沃"), wxOK | wxICON_ERROR, wxTheApp->GetTopWindow());
}

void ReportAssertion(const wxString& file, int line, const wxString& function, const wxString& condition,
                     const wxString& message) {
  std::fprintf(stderr, "%s:%d: %s: \"%s\" failed: %s\n", file.utf8_str().data(), line, function.utf8_str().data(),
               condition.utf8_str().data(), message.utf8_str().data());
}

// The toolkit's own messages and failed checks are English and meant for
// developers: they go to the standard error stream, never into a box. What
// the user must know, the program tells in its own Chinese boxes.
void KeepToolkitMessagesOffScreen() {
  delete wxLog::SetActiveTarget(new wxLogStderr);
  wxSetAssertHandler(ReportAssertion);
}

// The launcher's token for bringing a window to the front, if any. GDK has
// taken DESKTOP_STARTUP_ID out of the environment by now.
std::string StartupId() {
  if (const char* token = std::getenv("XDG_ACTIVATION_TOKEN"); token != nullptr) return token;
  GdkDisplay* display = gdk_display_get_default();
  if (GDK_IS_X11_DISPLAY(display))
    if (const char* id = gdk_x11_display_get_startup_notification_id(display); id != nullptr) return id;
  return {};
}

}  // namespace

void UseUserLocale() {
  std::setlocale(LC_ALL, "");
  // Plain ASCII cannot hold a single Chinese character of the window.
  if (std::strcmp(nl_langinfo(CODESET), "ANSI_X3.4-1968") == 0) std::setlocale(LC_CTYPE, "C.UTF-8");
  // Numbers that wx and GTK print or parse keep the decimal point.
  std::setlocale(LC_NUMERIC, "C");
}

CTranslatorApp::CTranslatorApp() = default;
CTranslatorApp::~CTranslatorApp() = default;

bool CTranslatorApp::OnInit() {
  KeepToolkitMessagesOffScreen();
  WindowRequest request;
  for (int i = 1; i < argc; ++i) {
    if (argv[i] != wxS("--selection")) {
      std::fputs("用法：parlavo [--selection]\n", stderr);
      return false;
    }
    request.translateSelection = true;
  }
  request.startupId = StartupId();

  m_singleWindow = std::make_unique<SingleWindow>();
  const bool mine = m_singleWindow->Claim(request, [this](const WindowRequest& later) {
    // After the caller has its answer, and outside the bus's dispatch.
    CallAfter([this, later] {
      if (auto* window = dynamic_cast<CTranslatorDlg*>(GetTopWindow())) window->TakeRequest(later);
    });
  });
  if (!mine) {
    m_handedOver = true;
    return true;
  }
  auto* window = new CTranslatorDlg(nullptr);
  SetTopWindow(window);
  window->Show();
  if (request.translateSelection) CallAfter([window, request] { window->TakeRequest(request); });
  return true;
}

int CTranslatorApp::OnRun() { return m_handedOver ? 0 : wxApp::OnRun(); }

bool CTranslatorApp::OnExceptionInMainLoop() {
  try {
    throw;
  } catch (const InternetError& error) {
    ShowError(FromUtf8(error.what()));
  } catch (const ServiceError& error) {
    ShowError(FromUtf8(error.what()));
  } catch (const std::bad_alloc&) {
    ShowError(wxS("内存不足。"));
  } catch (const std::exception& error) {
    // Anything else the core raises (a character set iconv lacks, say)
    // still must not end the program with the user's text in it.
    ShowError(FromUtf8(error.what()));
  }
  return true;
}

}  // namespace parlavo
