#include <gtest/gtest.h>

#include <cstdio>

#include <wx/app.h>
#include <wx/init.h>

#include "ui/translator_app.h"

namespace {

void ReportAssertion(const wxString& file, int line, const wxString& function, const wxString& condition,
                     const wxString& message) {
  ADD_FAILURE_AT(file.utf8_string().c_str(), line)
      << "wxWidgets assertion \"" << condition.utf8_string() << "\" failed in " << function.utf8_string()
      << ": " << message.utf8_string();
}

}  // namespace

// The program's own application object and locale set-up, so that a failed
// translation is reported the way the user sees it. The tests open their
// own main window; OnInit, which would open another, is not called.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // ctest lists the tests at build time, where there may be no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  parlavo::UseUserLocale();
  wxApp::SetInstance(new parlavo::CTranslatorApp);
  if (!wxEntryStart(argc, argv)) {
    std::fputs("cannot start wxWidgets: no X display? Run the tests under xvfb-run -a\n", stderr);
    return 1;
  }
  wxSetAssertHandler(ReportAssertion);
  const int result = RUN_ALL_TESTS();
  wxEntryCleanup();
  return result;
}
