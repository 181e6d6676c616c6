// The messages of the package reader (msi_package_reader.h), which runs in a
// child process, to the installer in the parent. Each message is one
// ChildMessage on the pipe: a kind letter and its fields in a fixed order, so that
// any bytes (file names included) pass unchanged.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/child_messages.h"
#include "util/status.h"

// A file the reader extracted, and where the installer is to put it.
struct StagedFile {
  std::string staged;       // in the staging folder
  std::string destination;  // absolute path
  std::string root;         // the allowed folder that `destination` lies in
};

// What a package installs, as the reader found it.
struct PackageContents {
  std::string product_code;  // "{GUID}"
  std::string name;          // ProductName, on one line
  std::string version;       // ProductVersion, on one line
  std::string upgrade_code;  // "{GUID}", or empty
  std::string install_folder;
  std::vector<StagedFile> files;
};

struct PackageReaderMessage {
  enum class Kind : char {
    kStaging = 'S',   // the staging folder exists: `staging`
    kProgress = 'P',  // while extracting: `done` of `total` bytes
    kResult = 'R',    // last: `result`, and on success `contents`
  };
  Kind kind = Kind::kResult;
  std::string staging;
  uint64_t done = 0;
  uint64_t total = 0;
  Status result;  // its code is one of installer.h's
  PackageContents contents;
};

ChildMessage EncodePackageReaderMessage(const PackageReaderMessage& message);

// Reads `message` back into `*decoded`. False when it is not a message the reader
// sends: an unknown kind, fields missing or left over, or a number that is not one.
bool DecodePackageReaderMessage(const ChildMessage& message, PackageReaderMessage* decoded);
