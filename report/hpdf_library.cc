#include "report/hpdf_library.h"

Status OpenHpdfLibrary(const char* file_name, HpdfLibrary* functions) {
  return OpenSharedLibrary("PDF", file_name, {ZORM_HPDF_FUNCTIONS(ZORM_LIBRARY_SYMBOL)});
}

Status LoadHpdfLibrary(const HpdfLibrary** hpdf) {
  return LoadSharedLibraryOnce(
      hpdf, [](HpdfLibrary* functions) { return OpenHpdfLibrary("libhpdf-2.3.0.so", functions); });
}

const HpdfLibrary& Hpdf() { return LoadedSharedLibrary(LoadHpdfLibrary); }
