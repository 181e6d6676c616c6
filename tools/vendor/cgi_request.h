// What the vendor's CGI programs read from a request: the module of a changelog
// query and the program and build date an update check names in its user agent.
#pragma once

#include <optional>
#include <string>

// The value of the first "Module=" field of a query string ("a=1&Module=ABC"),
// with %XX and '+' decoded. Nothing when the query has no such field. An
// ampersand always ends a field: "Module=A&B" names module "A".
std::optional<std::string> ModuleOfQuery(const std::string& query);

struct UpdateCheckAgent {
  std::string program;  // the title before the build date
  std::string built;    // "YYYY-MM-DD", the month counted from 1
};

// Splits "Title/YYYY-M-D (system release machine)" where the month is counted
// from 0, as programs send it. Nothing when the text has another form or the
// date is impossible.
std::optional<UpdateCheckAgent> ParseUpdateCheckAgent(const std::string& user_agent);
