#include "ui/translator_app.h"

#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <new>

#include <wx/log.h>
#include <wx/msgdlg.h>

#include "net/web_fetch.h"
#include "services/translation_client.h"
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

}  // namespace

void UseUserLocale() {
  std::setlocale(LC_ALL, "");
  // Plain ASCII cannot hold a single Chinese character of the window.
  if (std::strcmp(nl_langinfo(CODESET), "ANSI_X3.4-1968") == 0) std::setlocale(LC_CTYPE, "C.UTF-8");
  // Numbers that wx and GTK print or parse keep the decimal point.
  std::setlocale(LC_NUMERIC, "C");
}

bool CTranslatorApp::OnInit() {
  KeepToolkitMessagesOffScreen();
  auto* window = new CTranslatorDlg(nullptr);
  SetTopWindow(window);
  window->Show();
  return true;
}

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
