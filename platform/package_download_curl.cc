#include <sys/statvfs.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "platform/curl_library.h"
#include "platform/file_io.h"
#include "platform/package_download.h"
#include "platform/transfer_limits.h"
#include "util/string_compare.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Transfer {
  FILE* file;
  const DownloadProgressCallback* progress;
  TransferWatch watch;
  const CurlLibrary* curl = nullptr;
  CURL* easy = nullptr;
  uint64_t room = UINT64_MAX;  // free bytes in the destination's folder
  uint64_t written = 0;
  bool cancelled = false;
  bool stalled = false;
  std::string refused;  // why the body was cut off, when it was
};

uint64_t FreeBytes(const std::string& folder) {
  struct statvfs fs;
  if (statvfs(folder.c_str(), &fs) != 0) return UINT64_MAX;  // the writes will tell
  return static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize;
}

// Stops the body as soon as it passes what the server announced or what the
// disk can take, instead of finding out at the end.
size_t WriteToFile(char* data, size_t size, size_t count, void* context) {
  auto* transfer = static_cast<Transfer*>(context);
  const uint64_t length = size * count;
  curl_off_t announced = -1;
  transfer->curl->curl_easy_getinfo(transfer->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
  if (announced >= 0 && transfer->written + length > static_cast<uint64_t>(announced)) {
    transfer->refused = "the server sent more than the " + std::to_string(announced) +
                        " bytes it announced";
    return 0;
  }
  if (transfer->written + length > transfer->room) {
    transfer->refused = "not enough free space for the package";
    return 0;
  }
  transfer->written += length;
  return fwrite(data, size, count, transfer->file) * size;
}

int OnConnected(void* context, char*, char*, int, int) {
  static_cast<Transfer*>(context)->watch.Connected(Clock::now());
  return CURL_PREREQFUNC_OK;
}

int ReportProgress(void* context, curl_off_t total, curl_off_t done, curl_off_t, curl_off_t) {
  auto* transfer = static_cast<Transfer*>(context);
  // libcurl calls back at least once a second even when nothing arrives, which
  // is where a silent or trickling server is noticed.
  if (!transfer->watch.Check(static_cast<uint64_t>(done), Clock::now())) {
    transfer->stalled = true;
    return 1;
  }
  if (!*transfer->progress) return 0;
  if (!(*transfer->progress)(static_cast<uint64_t>(done), static_cast<uint64_t>(total))) {
    transfer->cancelled = true;
    return 1;  // makes libcurl abort the transfer
  }
  return 0;
}

bool HasPrefixNoCase(const std::string& text, const char* prefix) {
  std::string head = text.substr(0, std::char_traits<char>::length(prefix));
  return StringsEqualNoCase(head.c_str(), prefix);
}

}  // namespace

bool IsPackageUrl(const std::string& location) {
  return HasPrefixNoCase(location, "http://") || HasPrefixNoCase(location, "https://");
}

Status DownloadPackage(const std::string& url, const std::string& destination,
                       const DownloadProgressCallback& progress) {
  const CurlLibrary* curl;
  if (Status loaded = LoadCurlLibrary(&curl); !loaded.ok())
    return Status::Error("cannot download " + url + ": " + loaded.message(), kDownloadFailed);
  FILE* file = fopen(destination.c_str(), "wb");
  if (file == nullptr) return Status::Error("cannot create " + destination, kDownloadFailed);
  const TransferLimits limits = CurrentTransferLimits();
  Transfer transfer{file, &progress, TransferWatch(limits)};
  transfer.room = FreeBytes(ParentFolder(destination));
  CURL* easy = curl->curl_easy_init();
  transfer.curl = curl;
  transfer.easy = easy;
  if (easy == nullptr) {
    fclose(file);
    unlink(destination.c_str());
    return Status::Error("cannot start a download", kDownloadFailed);
  }
  char curl_error[CURL_ERROR_SIZE] = "";
  curl->curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl->curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl->curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl->curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl->curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
  curl->curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
  curl->curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl->curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect_ms));
  curl->curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, curl_error);
  curl->curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, WriteToFile);
  curl->curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
  curl->curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, OnConnected);
  curl->curl_easy_setopt(easy, CURLOPT_PREREQDATA, &transfer);
  curl->curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  curl->curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, ReportProgress);
  curl->curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &transfer);
  CURLcode code = curl->curl_easy_perform(easy);
  curl->curl_easy_cleanup(easy);

  bool written = fflush(file) == 0 && fsync(fileno(file)) == 0;
  written = fclose(file) == 0 && written;
  if (code == CURLE_OK && written) return Status::Ok();

  unlink(destination.c_str());
  if (transfer.cancelled) return Status::Error("cancelled", kDownloadCancelled);
  if (transfer.stalled || code == CURLE_OPERATION_TIMEDOUT)
    return Status::Error("cannot download " + url + ": " + kTimedOutText, kDownloadFailed);
  if (!transfer.refused.empty())
    return Status::Error("cannot download " + url + ": " + transfer.refused, kDownloadFailed);
  if (code != CURLE_OK)
    return Status::Error(
        "cannot download " + url + ": " + (curl_error[0] ? curl_error : curl->curl_easy_strerror(code)),
        kDownloadFailed);
  return Status::Error("cannot write " + destination, kDownloadFailed);
}
