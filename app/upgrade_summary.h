// The texts of the upgrade summary that are computed rather than copied from the
// command line: when the installed copy was built and how old it is. Shared by
// the dialog and the command-line companion.
#pragma once

#include <string>

#include "platform/ole_date.h"

inline constexpr char kUpgradeAppTitle[] = "Calvaro Upgrade Utility";
// The utility's own build date, in the form the build date argument takes.
inline constexpr char kUpgradeBuildDate[] = "Jul  5 2021";

// The "Built" value: "Monday, July 05, 2021"; "Invalid DateTime" for a date that
// did not parse.
std::string BuiltText(const OleDate& built);

// The "Age" value: whole days from `built` to now (the program's clock) as
// "%u days ago". The date is used whatever its status, so an unparseable one
// counts from 0.0 or -1.0. A build date in the future prints as a large number,
// the way an unsigned count of negative days reads.
std::string AgeText(const OleDate& built);
