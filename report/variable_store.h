// The report variables store: named texts kept in a libconfig configuration under
// the group "variable", and the expansion of "$NAME" (a variable) and "%NAME" (an
// environment variable) inside texts such as report titles. A variable whose
// "type" is "date" is a date variable: its value is computed at each lookup from its
// "date" expression (report/date_expression.h) and its strftime "format".
//
// The variables file named by ZORMVARFILE holds, for example:
//   variable = {
//     SITE = { value = "Main"; };
//     PERIODEND = { type = "date"; date = "m-1"; format = "%d.%m.%Y"; };
//   };
//
// Threads: the store's own operations take no lock. Lookups rewrite date values in
// the configuration and share a static time text, so callers that share a store
// between threads hold its lock (operations.EnterLock / LeaveLock) around every use.
#pragma once

#include <libconfig.h>

#include <cstdint>

#include "util/lock_ops.h"

struct VariableStore;

// The store's operation table, in slot order. Slots 0 to 3 are the lock operations
// over `lock`; slots 4 to 6 the store's own operations below.
struct VariableStoreOperations {
  int (*DeleteLock)(LockedCounter* lock);                        // 0
  int (*EnterLock)(LockedCounter* lock);                         // 1
  int (*LeaveLock)(LockedCounter* lock);                         // 2
  uint32_t (*LockedAdd)(LockedCounter* lock, uint32_t amount);  // 3
  int (*SetVariable)(VariableStore* store, const char* name, const char* format, ...);  // 4
  void (*FreeVariables)(VariableStore* store);                                         // 5
  int (*ExpandVariables)(VariableStore* store, const char* input, char* output,
                         unsigned size, int no_environment);                           // 6
};

// Bit of VariableStore::lock_state: the lock is initialised.
constexpr uint32_t kVariableLockInitialised = 1u << 1;

struct VariableStore {
  config_t* configuration;     // the one in use: the caller's or own_configuration
  config_t own_configuration;  // used when the caller gives none
  uint32_t owns_configuration; // 1: the store initialised `configuration` and destroys it
  LockedCounter lock;          // the critical section and the counter it guards
  uint32_t lock_state;         // kVariableLockInitialised
  VariableStoreOperations operations;
};

// The longest value SetVariable stores; longer formatted values are cut.
constexpr unsigned kVariableValueLimit = 1023;

// Prepares `store`. With `configuration` null the store uses its own. Unless a
// configuration is given with `loaded` set, the configuration in use is initialised
// here (and destroyed by FreeVariables) and, when ZORMVARFILE is set, that file is
// read into it; a file that cannot be read or parsed leaves it empty, silently.
// Finally a group "variable" is added when missing and the lock is initialised.
void InitVariables(VariableStore* store, config_t* configuration, int loaded);

// Sets variable `name` to the printf-style formatted value (cut to
// kVariableValueLimit characters). A name libconfig does not accept (letters,
// digits, '-' and '_', starting with a letter) sets nothing. A date variable stays
// one. Always returns 1.
int SetVariable(VariableStore* store, const char* name, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// The value of variable `name`, or null when it has none. A date variable's value is
// computed now. The text lives in the configuration (or a static buffer) until the
// next SetVariable, GetVariable or ExpandVariables on the store.
const char* GetVariable(VariableStore* store, const char* name);

// Writes `input` to `output` (of `size` bytes, always zero-terminated when size > 0)
// with the references replaced; a NAME is the longest run of at most 255 letters,
// digits, '-' and '_' after the marker:
//   $NAME  the variable's value, or "$NAME" as written (cut to 127) when it has none
//   %NAME  the environment variable, or "***BADENV:NAME***" (cut to 127) when it is
//          unset or `no_environment` is set
//   $$NAME, %%NAME  "$NAME", "%NAME"; a marker without a name stays as it is
// A '.' right after a reference is dropped, so "$SITE.txt" can join a value and text.
// A replacement that does not fit whole into the output is left out and the rest of
// the input is still copied while room remains. Always returns 1.
int ExpandVariables(VariableStore* store, const char* input, char* output, unsigned size,
                    int no_environment);

// Releases the lock and, when the store initialised it, the configuration. The store
// may then be prepared again with InitVariables.
void FreeVariables(VariableStore* store);
