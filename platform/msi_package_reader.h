// The reading side of an installation: opens a Windows Installer package with
// libmsi, works out from its tables where each file goes, and extracts the files
// of its cabinets into a staging folder. It runs in a child process (see
// isolated_run.h) because libmsi does not survive every damaged package, and
// answers through messages:
//   "S" staging folder                     as soon as the folder exists
//   "P" bytes extracted, bytes in all      while extracting
//   "R" code, error text                   last; on success followed by the
//       product's code, name, version, upgrade code and install folder, then a
//       staged path and a destination path per file
// The codes are those of installer.h: 1619 the file cannot be read, 1620 it is
// not a package, 1603 its folders or cabinets are unusable.
#pragma once

#include <string>

#include "platform/install_properties.h"
#include "platform/isolated_run.h"

void ReadMsiPackage(const std::string& path, const InstallProperties& command_properties,
                    const ChildMessageSender& send);
