#include <wx/app.h>

#include "gui_test.h"

// Each test opens the windows it needs.
int main(int argc, char** argv) { return parlavo::testing::RunGuiTests(argc, argv, new wxApp); }
