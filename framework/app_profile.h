// The settings InitFramework keeps: the program's profile under HKEY_CURRENT_USER
// (Software\Morvend\<executable name>) and the machine-wide switch of the update
// check under HKEY_LOCAL_MACHINE\SOFTWARE\Morvend. Failures are silent: a value
// that cannot be read reads as its default, one that cannot be written is dropped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Roots the profile at the maker's key "Morvend".
void UseMakersProfile();

std::string ReadProfileText(const char* section, const char* entry);
uint32_t ReadProfileNumber(const char* section, const char* entry);
void WriteProfileText(const char* section, const char* entry, const std::string& value);
void WriteProfileNumber(const char* section, const char* entry, uint32_t value);

// "DisableUpdateCheck" of the machine key, read through a quiet registry wrapper;
// nothing when the key cannot be opened or the value is missing or not a number.
std::optional<uint32_t> ReadUpdateCheckSwitch();

// A new installation identifier: 36 upper-case characters, or nothing when the
// system cannot make a globally unique one.
std::optional<std::string> NewInstallationId();
