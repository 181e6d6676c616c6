#include <curl/curl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/package_download.h"
#include "util/string_compare.h"

namespace {

struct Transfer {
  FILE* file;
  const DownloadProgressCallback* progress;
  bool cancelled = false;
};

size_t WriteToFile(char* data, size_t size, size_t count, void* context) {
  auto* transfer = static_cast<Transfer*>(context);
  return fwrite(data, size, count, transfer->file) * size;
}

int ReportProgress(void* context, curl_off_t total, curl_off_t done, curl_off_t, curl_off_t) {
  auto* transfer = static_cast<Transfer*>(context);
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
  FILE* file = fopen(destination.c_str(), "wb");
  if (file == nullptr) return Status::Error("cannot create " + destination, kDownloadFailed);
  Transfer transfer{file, &progress};
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    fclose(file);
    unlink(destination.c_str());
    return Status::Error("cannot start a download", kDownloadFailed);
  }
  char curl_error[CURL_ERROR_SIZE] = "";
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
  // Give up on a stalled server rather than hang the operator's window.
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, curl_error);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToFile);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, ReportProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
  CURLcode code = curl_easy_perform(curl);
  curl_easy_cleanup(curl);

  bool written = fflush(file) == 0 && fsync(fileno(file)) == 0;
  written = fclose(file) == 0 && written;
  if (code == CURLE_OK && written) return Status::Ok();

  unlink(destination.c_str());
  if (transfer.cancelled) return Status::Error("cancelled", kDownloadCancelled);
  if (code != CURLE_OK)
    return Status::Error(
        "cannot download " + url + ": " + (curl_error[0] ? curl_error : curl_easy_strerror(code)),
        kDownloadFailed);
  return Status::Error("cannot write " + destination, kDownloadFailed);
}
