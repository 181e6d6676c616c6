// The application's profile: per-user settings kept in the settings store under
// HKEY_CURRENT_USER\Software\<registry key>\<application name>\<section>. The
// registry key is "Morvend" unless the program sets another; the application name
// is the base name of the program's executable (tests may set another). Reads never
// change the store. Safe from any thread.
#pragma once

#include <string>
#include <utility>
#include <vector>

// The maker's key below Software.
void SetProfileRegistryKey(const std::string& key);
// The application's key below the maker's; empty restores the executable's name.
void SetProfileApplicationName(const std::string& name);
std::string ProfileApplicationName();
// "Software\Morvend\calvaro-upgrade": the profile's key below HKEY_CURRENT_USER.
std::string ProfileKeyPath();

// The string `entry` of `section`; `default_value` (null counts as "") when it is
// missing or not a string.
std::string GetProfileString(const char* section, const char* entry,
                             const char* default_value = nullptr);
// The number `entry` of `section`; `default_value` when it is missing or not a
// 32-bit number.
unsigned GetProfileInt(const char* section, const char* entry, int default_value);

// Writes a string value, creating the section. A null `value` deletes the entry; a
// null `entry` deletes the whole section. False when the store cannot be changed.
bool WriteProfileString(const char* section, const char* entry, const char* value);
// Writes a 32-bit number value. False when the store cannot be changed.
bool WriteProfileInt(const char* section, const char* entry, int value);

// Adds 1 to the number `entry` of `section` (missing or not a number counts as
// 0) and returns the new value, reading and writing under one lock so that
// programs counting at the same time lose no count. The strings `also` are
// written to the same section in the same write: each write waits for the disk.
// When the store cannot be changed, the stored value plus 1, nothing written.
unsigned IncrementProfileInt(const char* section, const char* entry,
                             const std::vector<std::pair<std::string, std::string>>& also = {});
