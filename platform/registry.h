// Registry keys over the settings store, with the calls, access rights and result
// codes that the program's registry code is written against. A key handle names a
// key of one root; every call reads or changes the store's file, so handles of
// several processes see each other's changes. Handles are not shared between
// threads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/reg_file.h"
#include "platform/settings_store.h"
#include "util/status.h"

// Result codes (the system's error numbers): the codes of the calls' Status,
// whose message is RegistryErrorText of the code.
constexpr long kRegistrySuccess = 0;
constexpr long kRegistryFileNotFound = 2;   // no such key or value
constexpr long kRegistryAccessDenied = 5;   // read-only store, or a right not asked for
constexpr long kRegistryInvalidHandle = 6;
constexpr long kRegistryWriteFault = 29;    // the store's file could not be written
constexpr long kRegistryInvalidParameter = 87;
constexpr long kRegistryMoreData = 234;     // the caller's buffer is too small

// Access rights of an open key.
constexpr uint32_t kKeyQueryValue = 0x0001;
constexpr uint32_t kKeySetValue = 0x0002;
constexpr uint32_t kKeyCreateSubKey = 0x0004;
constexpr uint32_t kKeyEnumerateSubKeys = 0x0008;
constexpr uint32_t kKeyNotify = 0x0010;
constexpr uint32_t kKeyCreateLink = 0x0020;
constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyWrite = 0x20006;
constexpr uint32_t kKeyAllAccess = 0xF003F;
// Rights that change the store: setting values, creating keys or links, deleting,
// changing the key's security.
constexpr uint32_t kKeyChangingRights = 0x000D0026;

// Value types.
constexpr uint32_t kRegNone = 0;  // a kind this layer keeps but does not read
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegDword = 4;

struct RegistryKey;
using RegistryKeyHandle = RegistryKey*;

// The two roots; always open, closing them does nothing.
extern RegistryKeyHandle const kHKeyCurrentUser;
extern RegistryKeyHandle const kHKeyLocalMachine;

// Opens `sub_key` below `parent` with `access`, creating it (and the keys above
// it) when missing. kRegistryAccessDenied when the store is read-only and the key
// is missing or `access` asks for a changing right; then `*key` is untouched.
// A new handle is released with RegistryCloseKey.
Status RegistryCreateKey(RegistryKeyHandle parent, std::string_view sub_key, uint32_t access,
                       RegistryKeyHandle* key);
// Opens an existing key without creating it: kRegistryFileNotFound when missing.
Status RegistryOpenKey(RegistryKeyHandle parent, std::string_view sub_key, uint32_t access,
                     RegistryKeyHandle* key);
Status RegistryCloseKey(RegistryKeyHandle key);

// Reads value `name` ("" for the key's default value). `type` receives kRegSz,
// kRegDword or kRegNone. With `data` null only `*size` is set to the bytes the
// value needs (strings count their terminating zero). When `*size` is too small
// kRegistryMoreData, with `*size` set to the need. Needs kKeyQueryValue.
Status RegistryQueryValue(RegistryKeyHandle key, std::string_view name, uint32_t* type,
                        void* data, uint32_t* size);
// The value itself; kRegistryFileNotFound when missing.
Status RegistryGetValue(RegistryKeyHandle key, std::string_view name, RegValue* value);
// Writes value `name`; needs kKeySetValue and a writable store.
Status RegistrySetValue(RegistryKeyHandle key, std::string_view name, const RegValue& value);
Status RegistryDeleteValue(RegistryKeyHandle key, std::string_view name);
// Deletes `sub_key` of `parent` with all keys below it.
Status RegistryDeleteKeyTree(RegistryKeyHandle parent, std::string_view sub_key);

// The system's text for a result code, as the user sees it ("Access is denied.").
std::string RegistryErrorText(long code);
