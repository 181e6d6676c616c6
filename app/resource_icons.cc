#include "app/resource_icons.h"

#include <wx/filefn.h>
#include <wx/image.h>
#include <wx/log.h>

#include "framework/executable_folder.h"

wxIcon LoadIconResource(unsigned id, int size) {
  const wxString path = wxString::FromUTF8(ExecutableFolder()) +
                        wxString::Format("resources/icon-%u-%d.png", id, size);
  wxIcon icon;
  if (!wxFileExists(path)) return icon;
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  wxImage image;
  wxLogNull quiet;  // a damaged file just means no icon
  if (image.LoadFile(path, wxBITMAP_TYPE_PNG) && image.GetWidth() == size &&
      image.GetHeight() == size)
    icon.CopyFromBitmap(wxBitmap(image));
  return icon;
}

wxIconBundle LoadIconBundleResource(unsigned id) {
  wxIconBundle bundle;
  for (int size : {16, 32, 48}) {
    wxIcon icon = LoadIconResource(id, size);
    if (icon.IsOk()) bundle.AddIcon(icon);
  }
  return bundle;
}
