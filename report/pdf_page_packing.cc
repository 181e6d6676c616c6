#include "report/pdf_page_packing.h"

#include <hpdf_objects.h>
#include <hpdf_pages.h>
#include <hpdf_streams.h>

#include "report/hpdf_library.h"

namespace {

// libharu's own chunk size for the streams it grows in memory.
constexpr HPDF_UINT kChunkSize = 4096;

// What the save writes into the dictionary of a compressed stream, in its words.
HPDF_STATUS WriteFlateFilter(HPDF_Dict, HPDF_Stream stream) {
  return Hpdf().HPDF_Stream_WriteStr(stream, "/Filter [ /FlateDecode ]\012");
}

}  // namespace

void PackPdfPageContents(HPDF_Page page) {
  if (page == nullptr) return;
  auto* attr = static_cast<HPDF_PageAttr>(page->attr);
  HPDF_Dict contents = attr->contents;
  if (contents == nullptr || contents->stream == nullptr || contents->write_fn != nullptr ||
      !(contents->filter & HPDF_STREAM_FILTER_FLATE_DECODE))
    return;
  HPDF_Stream packed = Hpdf().HPDF_MemStream_New(contents->mmgr, kChunkSize);
  if (packed == nullptr) return;
  // The same deflate call the save makes, into memory now instead of the file later.
  if (Hpdf().HPDF_Stream_WriteToStream(contents->stream, packed, HPDF_STREAM_FILTER_FLATE_DECODE,
                                       nullptr) != HPDF_OK) {
    Hpdf().HPDF_Stream_Free(packed);
    return;
  }
  Hpdf().HPDF_Stream_Free(contents->stream);
  contents->stream = packed;
  attr->stream = packed;
  // Saved as it is now, under the filter entry the save would have written.
  contents->filter = HPDF_STREAM_FILTER_NONE;
  contents->write_fn = WriteFlateFilter;
}
