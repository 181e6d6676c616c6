// Downloading an installation package given as an http:// or https:// address.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// True when `location` is an http:// or https:// address (case-insensitive scheme).
bool IsPackageUrl(const std::string& location);

enum class DownloadOutcome { kDone, kCancelled, kFailed };

// Receives bytes so far and the expected total (0 while unknown); returning false
// cancels the download.
typedef std::function<bool(uint64_t done, uint64_t total)> DownloadProgressCallback;

// Downloads `url` into the file `destination`, replacing it (following redirects, proxy
// settings from the environment). Any answer but 2xx fails. On kFailed `error`
// says why; on anything but kDone no file is left at `destination`.
DownloadOutcome DownloadPackage(const std::string& url, const std::string& destination,
                                const DownloadProgressCallback& progress, std::string* error);
