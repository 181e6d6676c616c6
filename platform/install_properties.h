// The property text of an installation: what an operator types after the package,
// such as `INSTALLDIR=/opt/calvaro LANG="en us"`. Each item is NAME=value; a value
// with spaces is written in double quotes, and a quote inside quotes is doubled.
#pragma once

#include <map>
#include <string>

#include "util/status.h"

typedef std::map<std::string, std::string> InstallProperties;

// Parses `text` into `properties` (a later item of the same name wins). Returns an
// error saying what is wrong when the text does not parse: an item
// without "=", a name that is not letters, digits, "_" and "." (not starting with a
// digit or "."), a quote that is never closed, or text glued to a closing quote.
// Empty or blank text gives no properties.
Status ParseInstallProperties(const std::string& text, InstallProperties* properties);
