#include <wx/app.h>

#include "ui/translator_app.h"

wxIMPLEMENT_APP_NO_MAIN(parlavo::CTranslatorApp);

int main(int argc, char** argv) {
  parlavo::UseUserLocale();
  return wxEntry(argc, argv);
}
