#include "tests/gui/gui_helpers.h"

#include <wx/app.h>
#include <wx/utils.h>

#include <cstdlib>

bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 300 && !condition(); ++i) {
    wxYield();
    wxMilliSleep(10);
  }
  return condition();
}

void Settle() {
  for (int i = 0; i < 10; ++i) {
    wxYield();
    wxMilliSleep(20);
  }
}

wxImage Screenshot(const std::string& path) {
  const std::string command = "import -window root '" + path + "'";
  if (system(command.c_str()) != 0) return wxImage();
  static const bool handlers = (wxInitAllImageHandlers(), true);
  (void)handlers;
  return wxImage(path, wxBITMAP_TYPE_PNG);
}
