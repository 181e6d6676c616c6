#include "framework/desktop_fonts.h"

#include <pango/pangocairo.h>

void StartReadingDesktopFonts() {
  // Making the default font map is what starts the toolkit's font thread; the map
  // is the one every later text uses.
  pango_cairo_font_map_get_default();
}
