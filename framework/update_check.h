// The update check: at start-up a program tells the vendor's update server who it
// is (title, build date, platform) in the user agent of one GET, and the server
// answers with a redirect to a newer release when there is one. The check is
// silent and bounded: every failure just means "no newer release known", and
// connecting, sending and each wait for the answer give up after 1.5 seconds.
// No wx here, so the check runs in programs without a display.
#pragma once

#include <optional>
#include <string>

#include "util/platform_description.h"

// The update server, "host[:port]": $ZORMUPDATESERVER, else the built-in default.
std::string UpdateServer();

// "%s/%u-%u-%u (%s %s %s)": title, then the build date split with "%b %d %Y"
// (year, month counted from 0, day; fields the text does not fill are 0, the year
// 1900), then the system name, release and machine of `platform`.
std::string UpdateCheckUserAgent(const std::string& app_title, const std::string& build_date,
                                 const PlatformDescription& platform);

// What an answer says: for status 302 the text after the first "Location: "
// (exactly that case and spacing) up to the next CR; nothing for any other status,
// or when the line or its CR is missing.
std::optional<std::string> UpgradeLocationOf(long status, const std::string& raw_headers);

// Asks the update server once. When it names a newer release, stores its location
// in `*upgrade_url`; otherwise leaves `*upgrade_url` as it was. Never reports an
// error and never blocks for more than about 1.5 s per phase after name lookup.
void CheckForUpdate(const std::string& app_title, const std::string& build_date,
                    std::string* upgrade_url);

// Runs CheckForUpdate on a worker thread, so that a program that knows its title
// and build date before its user interface is up overlaps the request with that
// start. Only the GUI thread starts, takes and ends it; a second start while one
// waits to be taken does nothing.
void StartUpdateCheck(const std::string& app_title, const std::string& build_date);
// Waits for a check started for this title and build date and stores its answer
// as CheckForUpdate does; false when none was started (nothing is asked then).
bool TakeUpdateCheck(const std::string& app_title, const std::string& build_date,
                     std::string* upgrade_url);
// Waits for a check that was started and never taken.
void EndUpdateCheck();
