// Keeps a long PDF's memory small: libharu holds every page's drawing in memory
// until the document is saved, and compresses it only then. A page the report
// has left is compressed at once instead, exactly as the save would have done it,
// so the saved bytes stay the same while each page costs about a quarter.
#pragma once

#include <hpdf.h>

// Compresses the drawing of `page`, which nothing may draw on afterwards. A page
// whose drawing is not to be compressed (the document's compression mode) or was
// packed already is left alone. The document must not be encrypted: the drawing
// would otherwise be saved unencrypted.
void PackPdfPageContents(HPDF_Page page);
