#include "platform/registry.h"

#include <cstring>

struct RegistryKey {
  RegistryRoot root;
  std::string path;  // below the root, normalised
  uint32_t access;
  bool predefined;
};

namespace {

RegistryKey g_current_user{RegistryRoot::kCurrentUser, "", kKeyAllAccess, true};
RegistryKey g_local_machine{RegistryRoot::kLocalMachine, "", kKeyAllAccess, true};

std::string JoinPath(const RegistryKey& parent, std::string_view sub_key) {
  return NormaliseKeyPath(parent.path + "\\" + std::string(sub_key));
}

static_assert(SettingsStore::kReadOnly == kRegistryAccessDenied);
static_assert(SettingsStore::kIoError == kRegistryWriteFault);

// The status of a registry call with result `code`: its message is the system's text.
Status ResultOf(long code) {
  return code == kRegistrySuccess ? Status::Ok() : Status::Error(RegistryErrorText(code), code);
}

// The settings store's errors carry the registry's codes; the message the user
// sees is the registry's text for them.
Status ResultOf(const Status& store) { return ResultOf(store.code()); }

// Opens an existing key, or with `create` makes a missing one.
Status OpenOrCreate(RegistryKeyHandle parent, std::string_view sub_key, uint32_t access,
                  RegistryKeyHandle* key, bool create) {
  if (parent == nullptr || key == nullptr) return ResultOf(kRegistryInvalidHandle);
  std::string path = JoinPath(*parent, sub_key);
  SettingsStore store(parent->root);
  if (RegKeyExists(store.Load(), path)) {
    if ((access & kKeyChangingRights) != 0 && !store.IsWritable()) return ResultOf(kRegistryAccessDenied);
  } else {
    if (!create) return ResultOf(kRegistryFileNotFound);
    Status code = ResultOf(store.Update([&](RegTree& tree) {
      if (RegKeyExists(tree, path)) return false;
      tree[path];
      return true;
    }));
    if (!code.ok()) return code;
  }
  *key = new RegistryKey{parent->root, path, access, false};
  return Status::Ok();
}

// Finds value `name` of `key` in the store, checking the handle and its rights.
Status LookUp(RegistryKeyHandle key, std::string_view name, RegValue* value) {
  if (key == nullptr) return ResultOf(kRegistryInvalidHandle);
  if ((key->access & kKeyQueryValue) == 0) return ResultOf(kRegistryAccessDenied);
  RegTree tree = SettingsStore(key->root).Load();
  auto found_key = tree.find(key->path);
  if (found_key == tree.end()) return ResultOf(kRegistryFileNotFound);
  auto found = found_key->second.find(std::string(name));
  if (found == found_key->second.end()) return ResultOf(kRegistryFileNotFound);
  *value = found->second;
  return Status::Ok();
}

}  // namespace

RegistryKeyHandle const kHKeyCurrentUser = &g_current_user;
RegistryKeyHandle const kHKeyLocalMachine = &g_local_machine;

Status RegistryCreateKey(RegistryKeyHandle parent, std::string_view sub_key, uint32_t access,
                       RegistryKeyHandle* key) {
  return OpenOrCreate(parent, sub_key, access, key, true);
}

Status RegistryOpenKey(RegistryKeyHandle parent, std::string_view sub_key, uint32_t access,
                     RegistryKeyHandle* key) {
  return OpenOrCreate(parent, sub_key, access, key, false);
}

Status RegistryCloseKey(RegistryKeyHandle key) {
  if (key == nullptr) return ResultOf(kRegistryInvalidHandle);
  if (!key->predefined) delete key;
  return Status::Ok();
}

Status RegistryGetValue(RegistryKeyHandle key, std::string_view name, RegValue* value) {
  return LookUp(key, name, value);
}

Status RegistryQueryValue(RegistryKeyHandle key, std::string_view name, uint32_t* type,
                        void* data, uint32_t* size) {
  RegValue value;
  Status code = LookUp(key, name, &value);
  if (!code.ok()) return code;
  std::string bytes;
  uint32_t kind = kRegNone;
  switch (value.type) {
    case RegValue::Type::kString:
      kind = kRegSz;
      bytes.assign(value.text.c_str(), value.text.size() + 1);
      break;
    case RegValue::Type::kDword:
      kind = kRegDword;
      bytes.assign(reinterpret_cast<const char*>(&value.number), sizeof value.number);
      break;
    case RegValue::Type::kOther:
      bytes = value.text;
      break;
  }
  if (type != nullptr) *type = kind;
  if (size == nullptr) return ResultOf(data == nullptr ? kRegistrySuccess : kRegistryInvalidParameter);
  uint32_t room = *size;
  *size = static_cast<uint32_t>(bytes.size());
  if (data == nullptr) return Status::Ok();
  if (room < bytes.size()) return ResultOf(kRegistryMoreData);
  memcpy(data, bytes.data(), bytes.size());
  return Status::Ok();
}

Status RegistrySetValue(RegistryKeyHandle key, std::string_view name, const RegValue& value) {
  if (key == nullptr) return ResultOf(kRegistryInvalidHandle);
  if ((key->access & kKeySetValue) == 0) return ResultOf(kRegistryAccessDenied);
  return ResultOf(SettingsStore(key->root).Update([&](RegTree& tree) {
    tree[key->path][std::string(name)] = value;
    return true;
  }));
}

Status RegistryDeleteValue(RegistryKeyHandle key, std::string_view name) {
  if (key == nullptr) return ResultOf(kRegistryInvalidHandle);
  if ((key->access & kKeySetValue) == 0) return ResultOf(kRegistryAccessDenied);
  bool found = false;
  Status code = ResultOf(SettingsStore(key->root).Update([&](RegTree& tree) {
    auto values = tree.find(key->path);
    found = values != tree.end() && values->second.erase(std::string(name)) > 0;
    return found;
  }));
  if (!code.ok()) return code;
  return ResultOf(found ? kRegistrySuccess : kRegistryFileNotFound);
}

Status RegistryDeleteKeyTree(RegistryKeyHandle parent, std::string_view sub_key) {
  if (parent == nullptr) return ResultOf(kRegistryInvalidHandle);
  std::string path = JoinPath(*parent, sub_key);
  if (path.empty()) return ResultOf(kRegistryAccessDenied);  // a root cannot go
  bool found = false;
  Status code = ResultOf(SettingsStore(parent->root).Update([&](RegTree& tree) {
    found = RegKeyExists(tree, path);
    if (found) RegEraseKeyTree(&tree, path);
    return found;
  }));
  if (!code.ok()) return code;
  return ResultOf(found ? kRegistrySuccess : kRegistryFileNotFound);
}

std::string RegistryErrorText(long code) {
  switch (code) {
    case kRegistrySuccess: return "The operation completed successfully.";
    case kRegistryFileNotFound: return "The system cannot find the file specified.";
    case kRegistryAccessDenied: return "Access is denied.";
    case kRegistryInvalidHandle: return "The handle is invalid.";
    case kRegistryWriteFault: return "The system cannot write to the specified device.";
    case kRegistryInvalidParameter: return "The parameter is incorrect.";
    case kRegistryMoreData: return "More data is available.";
    default: return "Unknown error " + std::to_string(code) + ".";
  }
}
