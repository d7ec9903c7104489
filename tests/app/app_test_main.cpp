#include "gui_test.h"
#include "ui/translator_app.h"

// The program's own application object runs the tests, so its exception hook
// is the one that reports failed commands. Its OnInit, which opens the main
// window, runs only where a test calls it: the other tests open their own.
int main(int argc, char** argv) {
  parlavo::UseUserLocale();
  return parlavo::testing::RunGuiTests(argc, argv, new parlavo::CTranslatorApp);
}
