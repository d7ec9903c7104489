#include <wx/app.h>

#include "ui/input_method_choice.h"
#include "ui/translator_app.h"

wxIMPLEMENT_APP_NO_MAIN(parlavo::CTranslatorApp);

int main(int argc, char** argv) {
  parlavo::UseUserLocale();
  parlavo::AvoidXimWhereGtkModuleInstalled();
  return wxEntry(argc, argv);
}
