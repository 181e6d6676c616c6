// What version.cgi reads from an update check's request: the program and the build
// date that its user agent names.
#pragma once

#include <optional>
#include <string>

struct UpdateCheckAgent {
  std::string program;  // the title before the build date
  std::string built;    // "YYYY-MM-DD", the month counted from 1
};

// Splits "Title/YYYY-M-D (system release machine)" where the month is counted
// from 0, as programs send it. Nothing when the text has another form or the
// date is impossible.
std::optional<UpdateCheckAgent> ParseUpdateCheckAgent(const std::string& user_agent);
