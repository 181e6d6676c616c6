#include "platform/profile.h"

#include <unistd.h>

#include <cerrno>
#include <mutex>

#include "platform/registry.h"
#include "platform/settings_store.h"

namespace {

std::mutex g_mutex;
std::string g_registry_key = "Morvend";
std::string g_application_name;

std::string ExecutableBaseName() {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string full = length > 0 ? std::string(path, static_cast<size_t>(length))
                                : std::string(program_invocation_name);
  return full.substr(full.find_last_of('/') + 1);
}

std::string SectionPath(const char* section) {
  return ProfileKeyPath() + "\\" + (section != nullptr ? section : "");
}

// Reads `entry` of `section` without creating anything.
bool ReadEntry(const char* section, const char* entry, RegValue* value) {
  RegistryKeyHandle key = nullptr;
  if (!RegistryOpenKey(kHKeyCurrentUser, SectionPath(section), kKeyRead, &key).ok()) return false;
  Status read = RegistryGetValue(key, entry != nullptr ? entry : "", value);
  RegistryCloseKey(key);
  return read.ok();
}

}  // namespace

void SetProfileRegistryKey(const std::string& key) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_registry_key = key;
}

void SetProfileApplicationName(const std::string& name) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_application_name = name;
}

std::string ProfileApplicationName() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_application_name.empty() ? ExecutableBaseName() : g_application_name;
}

std::string ProfileKeyPath() {
  std::string application = ProfileApplicationName();
  std::lock_guard<std::mutex> lock(g_mutex);
  return "Software\\" + g_registry_key + "\\" + application;
}

std::string GetProfileString(const char* section, const char* entry, const char* default_value) {
  RegValue value;
  if (ReadEntry(section, entry, &value) && value.type == RegValue::Type::kString) return value.text;
  return default_value != nullptr ? default_value : "";
}

unsigned GetProfileInt(const char* section, const char* entry, int default_value) {
  RegValue value;
  if (ReadEntry(section, entry, &value) && value.type == RegValue::Type::kDword) return value.number;
  return static_cast<unsigned>(default_value);
}

namespace {

// Writes `value` to `entry` of `section`; a null value deletes the entry and a null
// entry the section. Deleting what is not there succeeds.
bool WriteEntry(const char* section, const char* entry, const RegValue* value) {
  Status code;
  if (entry == nullptr) {
    code = RegistryDeleteKeyTree(kHKeyCurrentUser, SectionPath(section));
  } else {
    RegistryKeyHandle key = nullptr;
    code = value != nullptr
               ? RegistryCreateKey(kHKeyCurrentUser, SectionPath(section), kKeyWrite, &key)
               : RegistryOpenKey(kHKeyCurrentUser, SectionPath(section), kKeyWrite, &key);
    if (code.ok()) {
      code = value != nullptr ? RegistrySetValue(key, entry, *value)
                              : RegistryDeleteValue(key, entry);
      RegistryCloseKey(key);
    }
  }
  return code.ok() || (value == nullptr && code.code() == kRegistryFileNotFound);
}

}  // namespace

bool WriteProfileString(const char* section, const char* entry, const char* value) {
  if (value == nullptr) return WriteEntry(section, entry, nullptr);
  RegValue text = RegValue::String(value);
  return WriteEntry(section, entry, &text);
}

bool WriteProfileInt(const char* section, const char* entry, int value) {
  RegValue number = RegValue::Dword(static_cast<uint32_t>(value));
  return WriteEntry(section, entry, &number);
}

unsigned IncrementProfileInt(const char* section, const char* entry,
                             const std::vector<std::pair<std::string, std::string>>& also) {
  unsigned counted = 0;
  const std::string path = SectionPath(section);
  Status updated = SettingsStore(RegistryRoot::kCurrentUser).Update([&](RegTree& tree) {
    auto& values = tree[path];
    RegValue& value = values[entry];
    counted = (value.type == RegValue::Type::kDword ? value.number : 0) + 1;
    value = RegValue::Dword(counted);
    for (const auto& [name, text] : also) values[name] = RegValue::String(text);
    return true;
  });
  // A store that cannot be changed still gives this run its number.
  return updated.ok() ? counted : GetProfileInt(section, entry, 0) + 1;
}
