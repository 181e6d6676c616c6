// changelog.cgi: the change history of one module as an RSS 2.0 document.
// GET /cgi/changelog.cgi?Module=NAME. An unknown or missing module gets 404, a
// database that cannot be read 500, each with a short plain-text page.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/vendor/cgi_request.h"
#include "tools/vendor/rss_text.h"
#include "tools/vendor/vendor_database.h"

namespace {

const char* EnvOr(const char* name, const char* fallback) {
  const char* value = getenv(name);
  return value != nullptr ? value : fallback;
}

int Fail(const char* status, const std::string& text) {
  printf("Status: %s\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n%s\n", status, text.c_str());
  return 0;
}

void PrintElement(const char* name, const std::string& text) {
  std::string escaped = XmlEscape(text);
  printf("<%s>%s</%s>\n", name, escaped.c_str(), name);
}

}  // namespace

int main() {
  std::optional<std::string> module_name = ModuleOfQuery(EnvOr("QUERY_STRING", ""));
  if (!module_name) return Fail("404 Not Found", "No module was named.");

  VendorDatabase database;
  std::string error;
  if (!database.Open(VendorDatabasePath(), &error)) return Fail("500 Internal Server Error", error);
  std::optional<ModuleInfo> module = database.FindModule(*module_name);
  if (!module) return Fail("404 Not Found", "No module is called " + *module_name + ".");

  printf("Status: 200 OK\r\nContent-Type: application/rss+xml; charset=UTF-8\r\n\r\n");
  printf("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\">\n<channel>\n");
  PrintElement("title", module->title);
  PrintElement("link", std::string("http://") + EnvOr("HTTP_HOST", "localhost") +
                           EnvOr("SCRIPT_NAME", "/cgi/changelog.cgi") + "?Module=" +
                           module->name);
  PrintElement("description", module->description);
  bool complete = database.ForEachChange(module->name, [](const ChangeEntry& change) {
    printf("<item>\n");
    PrintElement("title", change.title);
    PrintElement("description", change.description);
    std::string date = Rfc822Date(change.published);
    if (!date.empty()) PrintElement("pubDate", date);
    printf("</item>\n");
  });
  // A history cut short by a database fault still ends as a well-formed document.
  if (!complete) printf("<!-- the change history could not be read to its end -->\n");
  printf("</channel>\n</rss>\n");
  return 0;
}
