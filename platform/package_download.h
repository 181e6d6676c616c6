// Downloading an installation package given as an http:// or https:// address.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "util/status.h"

// True when `location` is an http:// or https:// address (case-insensitive scheme).
bool IsPackageUrl(const std::string& location);

// The codes of DownloadPackage's errors: the installer's own for these cases.
enum : long {
  kDownloadCancelled = 1602,  // the progress callback said stop
  kDownloadFailed = 1619      // the package cannot be had
};

// Receives bytes so far and the expected total (0 while unknown); returning false
// cancels the download.
typedef std::function<bool(uint64_t done, uint64_t total)> DownloadProgressCallback;

// Downloads `url` into the file `destination`, replacing it (following redirects, proxy
// settings from the environment). Any answer but 2xx fails with kDownloadFailed
// and says why; a cancel gives kDownloadCancelled. On any error no file is left at
// `destination`.
Status DownloadPackage(const std::string& url, const std::string& destination,
                       const DownloadProgressCallback& progress);
