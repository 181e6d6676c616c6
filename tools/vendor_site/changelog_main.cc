// changelog.cgi: the change history of one module as an RSS 2.0 document.
// GET /cgi/changelog.cgi?Module=NAME. An unknown or missing module gets 404, a
// database that cannot be read 500, each with a short plain-text page.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "report/cgi_request.h"
#include "tools/vendor_site/rss_text.h"
#include "tools/vendor_site/vendor_database.h"

namespace {

const char* EnvOr(const char* name, const char* fallback) {
  const char* value = getenv(name);
  return value != nullptr ? value : fallback;
}

int Fail(const char* status, const std::string& text) {
  printf("Status: %s\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n%s\n", status, text.c_str());
  return 0;
}

// The document is built in one buffer and written out in large pieces: a history
// of tens of thousands of changes is megabytes long.
class FeedWriter {
 public:
  FeedWriter() { buffer_.reserve(kFlushSize + 64 * 1024); }
  ~FeedWriter() { Flush(); }
  FeedWriter(const FeedWriter&) = delete;
  FeedWriter& operator=(const FeedWriter&) = delete;

  void Raw(std::string_view text) { buffer_.append(text); }
  void Element(std::string_view name, std::string_view text) {
    buffer_ += '<';
    buffer_.append(name);
    buffer_ += '>';
    AppendXmlEscaped(text, &buffer_);
    buffer_ += "</";
    buffer_.append(name);
    buffer_ += ">\n";
    if (buffer_.size() >= kFlushSize) Flush();
  }
  void Flush() {
    fwrite(buffer_.data(), 1, buffer_.size(), stdout);
    buffer_.clear();
  }

 private:
  static constexpr size_t kFlushSize = 1 << 20;
  std::string buffer_;
};

// The value of the request's first "Module" variable, or null.
const std::string* ModuleOfRequest(const CgiRequest& request) {
  for (const auto& [name, value] : request.form)
    if (name == "Module") return &value;
  return nullptr;
}

}  // namespace

int main() {
  const CgiRequest request = ReadCgiRequest([](const char* name) { return getenv(name); }, stdin);
  const std::string* module_name = ModuleOfRequest(request);
  if (module_name == nullptr) return Fail("404 Not Found", "No module was named.");

  VendorDatabase database;
  std::string error;
  if (!database.Open(VendorDatabasePath(), &error)) {
    // The details, with the server's paths, go to the server's log, not to the caller.
    fprintf(stderr, "%s\n", error.c_str());
    return Fail("500 Internal Server Error", "The release database cannot be read.");
  }
  std::optional<ModuleInfo> module = database.FindModule(*module_name);
  if (!module) return Fail("404 Not Found", "No module is called " + *module_name + ".");

  FeedWriter feed;
  feed.Raw("Status: 200 OK\r\nContent-Type: application/rss+xml; charset=UTF-8\r\n\r\n");
  feed.Raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\">\n<channel>\n");
  feed.Element("title", module->title);
  feed.Element("link", std::string("http://") + EnvOr("HTTP_HOST", "localhost") +
                           EnvOr("SCRIPT_NAME", "/cgi/changelog.cgi") + "?Module=" +
                           module->name);
  feed.Element("description", module->description);
  bool complete = database.ForEachChange(module->name, [&feed](const ChangeEntry& change) {
    feed.Raw("<item>\n");
    feed.Element("title", change.title);
    feed.Element("description", change.description);
    char date[kRfc822DateCapacity];
    size_t date_length = FormatRfc822Date(change.published, date);
    if (date_length != 0) feed.Element("pubDate", std::string_view(date, date_length));
    feed.Raw("</item>\n");
  });
  // A history cut short by a database fault still ends as a well-formed document.
  if (!complete) feed.Raw("<!-- the change history could not be read to its end -->\n");
  feed.Raw("</channel>\n</rss>\n");
  return 0;
}
