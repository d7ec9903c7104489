#include "gui_test.h"
#include "ui/translator_app.h"

// The program's own application object and locale set-up, so that a failed
// translation is reported the way the user sees it. The tests open their
// own main window; OnInit, which would open another, is not called.
int main(int argc, char** argv) {
  parlavo::UseUserLocale();
  return parlavo::testing::RunGuiTests(argc, argv, new parlavo::CTranslatorApp);
}
