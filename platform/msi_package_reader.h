// The reading side of an installation: opens a Windows Installer package with
// libmsi, works out from its tables where each file goes, and extracts the files
// of its cabinets into a staging folder. It runs in a child process (see
// isolated_run.h) because libmsi does not survive every damaged package, and
// answers through the messages of package_reader_message.h: the staging folder
// as soon as it exists, progress while extracting, and last the result. The
// result's codes are those of installer.h: 1619 the file cannot be read, 1620 it
// is not a package, 1603 its folders or cabinets are unusable.
#pragma once

#include <functional>
#include <string>

#include "platform/install_properties.h"
#include "platform/package_reader_message.h"

using PackageReaderSender = std::function<void(const PackageReaderMessage&)>;

// Reads the package at `path` with `command_properties` applied over its own and
// sends what it finds to `send`; the last message is always the result.
void ReadMsiPackage(const std::string& path, const InstallProperties& command_properties,
                    const PackageReaderSender& send);
