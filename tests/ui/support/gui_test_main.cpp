#include <gtest/gtest.h>

#include <cstdio>

#include <wx/app.h>
#include <wx/init.h>

namespace {

class GuiTestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

void ReportAssertion(const wxString& file, int line, const wxString& function, const wxString& condition,
                     const wxString& message) {
  ADD_FAILURE_AT(file.utf8_string().c_str(), line)
      << "wxWidgets assertion \"" << condition.utf8_string() << "\" failed in " << function.utf8_string()
      << ": " << message.utf8_string();
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // ctest lists the tests at build time, where there may be no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  wxApp::SetInstance(new GuiTestApp);
  if (!wxEntryStart(argc, argv)) {
    std::fputs("cannot start wxWidgets: no X display? Run the tests under xvfb-run -a\n", stderr);
    return 1;
  }
  wxSetAssertHandler(ReportAssertion);
  int result = 1;
  if (wxTheApp->CallOnInit()) {
    result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
  }
  wxEntryCleanup();
  return result;
}
