// Icon resources. Icons ship as PNG files in the "resources" folder beside the
// program, one file per square size: resources/icon-<id>-<size>.png (the same
// place the framework takes its bitmap resources from). The build copies them
// there from the source tree's resources/ folder.
#pragma once

#include <wx/icon.h>
#include <wx/iconbndl.h>

// The icon `id` in `size` x `size` pixels; not ok when that file is missing or
// damaged.
wxIcon LoadIconResource(unsigned id, int size);

// Every size of icon `id` that ships (16, 32, 48); empty when none does. The
// window manager scales these; a 256-pixel size cost the dialog's start 7 ms.
wxIconBundle LoadIconBundleResource(unsigned id);
