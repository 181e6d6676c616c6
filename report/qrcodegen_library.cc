#include "report/qrcodegen_library.h"

Status OpenQrcodegenLibrary(const char* file_name, QrcodegenLibrary* functions) {
  return OpenSharedLibrary("QR code", file_name, {ZORM_QRCODEGEN_FUNCTIONS(ZORM_LIBRARY_SYMBOL)});
}

Status LoadQrcodegenLibrary(const QrcodegenLibrary** qrcodegen) {
  return LoadSharedLibraryOnce(qrcodegen, [](QrcodegenLibrary* functions) {
    return OpenQrcodegenLibrary("libqrcodegen.so.1", functions);
  });
}

const QrcodegenLibrary& Qrcodegen() { return LoadedSharedLibrary(LoadQrcodegenLibrary); }
