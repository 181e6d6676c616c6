// Fetching a module's change history from the vendor's changelog CGI. The body
// comes back byte for byte whatever the HTTP status; only a request that brings
// back no answer at all is an error.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

// Raised when the feed cannot be fetched: no network, unknown host, refused
// connection, a read that failed. what() is a sentence for the user.
class InternetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The vendor's web server, "host[:port]": $ZORMVENDORSERVER, else the built-in
// default.
std::string VendorServer();

// "http://" + VendorServer() + "/cgi/changelog.cgi?Module=" + module. The module
// goes in as it is, so an ampersand in it splits the query; only bytes that no
// URL can carry (blanks, control characters, '#') are percent-encoded.
std::string ChangelogUrl(const std::string& module);

// No change history is this long; a larger body is refused rather than held.
inline constexpr size_t kMaxFeedBytes = size_t{64} << 20;

// GETs ChangelogUrl(module), following redirects, and returns the body. Throws
// InternetError when no answer came back, the connection could not be made or
// went silent within CurrentTransferLimits(), or the body passed kMaxFeedBytes.
std::string FetchFeed(const std::string& module);

// The same request, with the status of the answer beside its body, for callers
// that tell an error page from a feed.
struct FeedAnswer {
  long status = 0;
  std::string body;
};
FeedAnswer FetchFeedAnswer(const std::string& module);
