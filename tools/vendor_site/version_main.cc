// version.cgi: the update server. A program names itself and its build date in
// its user agent ("Title/YYYY-M-D (system release machine)", month from 0); when
// the database holds a newer release of that program the answer is 302 with its
// location, otherwise 200. An agent of another form gets 400.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/vendor_site/update_check_agent.h"
#include "tools/vendor_site/vendor_database.h"

namespace {

int Answer(const char* status, const std::string& text) {
  printf("Status: %s\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n%s\n", status, text.c_str());
  return 0;
}

}  // namespace

int main() {
  const char* agent_text = getenv("HTTP_USER_AGENT");
  std::optional<UpdateCheckAgent> agent = ParseUpdateCheckAgent(agent_text ? agent_text : "");
  if (!agent) return Answer("400 Bad Request", "The user agent names no program and build date.");

  VendorDatabase database;
  std::string error;
  if (!database.Open(VendorDatabasePath(), &error)) {
    // The details, with the server's paths, go to the server's log, not to the caller.
    fprintf(stderr, "%s\n", error.c_str());
    return Answer("500 Internal Server Error", "The release database cannot be read.");
  }
  std::optional<std::string> newer = database.NewerRelease(agent->program, agent->built);
  if (!newer) return Answer("200 OK", "No newer release.");
  // A location with a line break would end the header early; such a row is not served.
  if (newer->find_first_of("\r\n") != std::string::npos)
    return Answer("500 Internal Server Error", "The release location is not valid.");
  printf("Status: 302 Found\r\nLocation: %s\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n"
         "A newer release is available.\n",
         newer->c_str());
  return 0;
}
