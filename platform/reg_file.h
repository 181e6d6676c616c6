// The settings file format: the text form of one registry root, as the Windows
// registry editor writes it, so that a user can read and edit it by hand:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Morvend\calvaro-upgrade\Runtime]
//   "LastRunTime"="Monday, July 05, 2021 - 12:00:00"
//   "RunCount"=dword:0000000a
//
// Strings escape backslash and quote with a backslash and may span lines. Values
// of other kinds written by hand (hex:..., hex(2):...) are kept as written so that
// saving the file again does not lose them. Pure functions, no I/O.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "util/status.h"

// Orders names as the registry compares them: ASCII letters without case.
struct RegNameLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct RegValue {
  enum class Type { kString, kDword, kOther };
  Type type = Type::kString;
  std::string text;     // kString: the text; kOther: the data after '=' as written
  uint32_t number = 0;  // kDword

  static RegValue String(std::string text) { return {Type::kString, std::move(text), 0}; }
  static RegValue Dword(uint32_t number) { return {Type::kDword, "", number}; }
  bool operator==(const RegValue&) const = default;
};

// As the value would stand in the file: "text", dword:0000000a or hex:...
std::ostream& operator<<(std::ostream& out, const RegValue& value);

// Values of one key by name; "" is the key's default value ("@" in the file).
using RegValues = std::map<std::string, RegValue, RegNameLess>;
// The keys of one root by path below the root ("Software\Morvend"); a key without
// values is kept too.
using RegTree = std::map<std::string, RegValues, RegNameLess>;

// Key paths as stored: backslash-separated names without empty parts.
std::string NormaliseKeyPath(std::string_view path);

// Reads a whole file whose keys all lie under `root_name` (HKEY_CURRENT_USER).
// An error naming the line when the text is not such a file, also when it is
// empty or cut short in the middle of a line; `tree` is then empty.
Status ParseRegFile(std::string_view text, std::string_view root_name, RegTree* tree);

// The file text for `tree`, keys in name order, lines ending in "\n".
std::string FormatRegFile(const RegTree& tree, std::string_view root_name);

// True when `path` is a key of `tree` or lies above one.
bool RegKeyExists(const RegTree& tree, std::string_view path);
// Names of the keys directly below `path`, each once, in name order.
std::vector<std::string> RegChildKeyNames(const RegTree& tree, std::string_view path);
// Removes `path` and every key below it.
void RegEraseKeyTree(RegTree* tree, std::string_view path);
