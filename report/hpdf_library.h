// libharu, the PDF writer, opened at run time (platform/shared_library.h): only a
// PDF report needs it, so programs do not map it, nor libpng it pulls in, at
// start. The functions below are the ones the PDF format calls, including the
// stream functions of libharu's internals that page packing uses.
#pragma once

#include <hpdf.h>
#include <hpdf_streams.h>

#include "platform/shared_library.h"

// clang-format off
#define ZORM_HPDF_FUNCTIONS(X)                                                                  \
  X(HPDF_NewEx) X(HPDF_Free) X(HPDF_SetCompressionMode) X(HPDF_GetFont) X(HPDF_AddPage)        \
  X(HPDF_GetError) X(HPDF_ResetError) X(HPDF_LoadJpegImageFromFile) X(HPDF_CreateOutline)      \
  X(HPDF_Outline_SetDestination) X(HPDF_SaveToFile) X(HPDF_SaveToStream)                       \
  X(HPDF_GetStreamSize) X(HPDF_ReadFromStream)                                                 \
  X(HPDF_Page_SetSize) X(HPDF_Page_GetWidth) X(HPDF_Page_GetHeight) X(HPDF_Page_DrawImage)     \
  X(HPDF_Page_CreateDestination) X(HPDF_Page_SetFontAndSize) X(HPDF_Page_TextWidth)            \
  X(HPDF_Page_BeginText) X(HPDF_Page_MoveTextPos) X(HPDF_Page_ShowText) X(HPDF_Page_EndText)   \
  X(HPDF_Page_Rectangle) X(HPDF_Page_Fill) X(HPDF_Page_MoveTo) X(HPDF_Page_LineTo)             \
  X(HPDF_Page_Stroke) X(HPDF_Page_GetRGBFill) X(HPDF_Page_SetRGBFill) X(HPDF_Page_GetRGBStroke) \
  X(HPDF_Page_SetRGBStroke) X(HPDF_Page_GetLineWidth) X(HPDF_Page_SetLineWidth)                \
  X(HPDF_MemStream_New) X(HPDF_Stream_WriteToStream) X(HPDF_Stream_WriteStr) X(HPDF_Stream_Free)
// clang-format on

struct HpdfLibrary {
  ZORM_HPDF_FUNCTIONS(ZORM_LIBRARY_FUNCTION)
};

// Opens libharu once for the process; see LoadSharedLibraryOnce. The error names
// the library and says why.
Status LoadHpdfLibrary(const HpdfLibrary** hpdf);

// Opens the shared library `file_name` as libharu into `*hpdf`, without caching:
// LoadHpdfLibrary's one step that depends on the library's name, open for tests.
Status OpenHpdfLibrary(const char* file_name, HpdfLibrary* hpdf);

// libharu's functions for code that works on a document or page, which exists
// only once LoadHpdfLibrary has succeeded; must not be called before.
const HpdfLibrary& Hpdf();
