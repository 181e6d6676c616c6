// Placeholder until the settings store is merged into this branch: every value
// reads as its default and nothing is kept. Replaced by the store-backed version.
#include "framework/app_profile.h"

void UseMakersProfile() {}
std::string ReadProfileText(const char*, const char*) { return ""; }
uint32_t ReadProfileNumber(const char*, const char*) { return 0; }
void WriteProfileText(const char*, const char*, const std::string&) {}
void WriteProfileNumber(const char*, const char*, uint32_t) {}
std::optional<uint32_t> ReadUpdateCheckSwitch() { return std::nullopt; }
std::optional<std::string> NewInstallationId() { return std::nullopt; }
