// The yardstick for the application's start-up and memory: the least a
// wxWidgets program can show, an empty frame, built like the application
// and, like it, in the user's locale (GTK then loads its translations).
#include <clocale>

#include <wx/app.h>
#include <wx/frame.h>

namespace {

class MinimalApp : public wxApp {
 public:
  bool OnInit() override {
    (new wxFrame(nullptr, wxID_ANY, wxS("minimal")))->Show();
    return true;
  }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(MinimalApp);

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  return wxEntry(argc, argv);
}
