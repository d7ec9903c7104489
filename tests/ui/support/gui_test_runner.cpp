#include "gui_test.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <wx/app.h>
#include <wx/init.h>

namespace parlavo::testing {

namespace {

void ReportAssertion(const wxString& file, int line, const wxString& function, const wxString& condition,
                     const wxString& message) {
  ADD_FAILURE_AT(file.utf8_string().c_str(), line)
      << "wxWidgets assertion \"" << condition.utf8_string() << "\" failed in " << function.utf8_string()
      << ": " << message.utf8_string();
}

}  // namespace

int RunGuiTests(int argc, char** argv, wxApp* app) {
  ::testing::InitGoogleTest(&argc, argv);
  // ctest lists the tests at build time, where there may be no display.
  if (GTEST_FLAG_GET(list_tests)) {
    delete app;
    return RUN_ALL_TESTS();
  }

  wxApp::SetInstance(app);
  if (!wxEntryStart(argc, argv)) {
    std::fputs("cannot start wxWidgets: no X display? Run the tests under xvfb-run -a\n", stderr);
    return 1;
  }
  wxSetAssertHandler(ReportAssertion);
  const int result = RUN_ALL_TESTS();
  wxEntryCleanup();
  return result;
}

}  // namespace parlavo::testing
