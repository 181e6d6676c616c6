// The QR code library, opened at run time (platform/shared_library.h): only the
// pages of a PDF report carry QR codes.
#pragma once

#include <qrcodegen.h>

#include "platform/shared_library.h"

#define ZORM_QRCODEGEN_FUNCTIONS(X) \
  X(qrcodegen_encodeText) X(qrcodegen_getSize) X(qrcodegen_getModule)

struct QrcodegenLibrary {
  ZORM_QRCODEGEN_FUNCTIONS(ZORM_LIBRARY_FUNCTION)
};

// Opens the QR code library once for the process; see LoadSharedLibraryOnce. The
// error names the library and says why.
Status LoadQrcodegenLibrary(const QrcodegenLibrary** qrcodegen);

// Opens the shared library `file_name` as the QR code library into `*qrcodegen`,
// without caching: LoadQrcodegenLibrary's step that depends on the name, for tests.
Status OpenQrcodegenLibrary(const char* file_name, QrcodegenLibrary* qrcodegen);

// The QR code library's functions, loaded on first use; must only be called when
// the library can be loaded (LoadQrcodegenLibrary has succeeded or will).
const QrcodegenLibrary& Qrcodegen();
