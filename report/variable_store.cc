#include "report/variable_store.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "report/date_expression.h"
#include "report/time_text.h"
#include "report/variables_file.h"
#include "util/clock.h"

namespace {

constexpr char kVariableGroup[] = "variable";
constexpr size_t kNameLimit = 255;
// Texts made for a reference that has no value are cut to this length.
constexpr size_t kFallbackTextLimit = 127;

// The group of variable `name`, or null when it or the group "variable" is missing.
config_setting_t* FindVariable(VariableStore* store, const char* name) {
  config_setting_t* group = config_lookup(store->configuration, kVariableGroup);
  if (group == nullptr || !config_setting_is_group(group)) return nullptr;
  config_setting_t* variable = config_setting_get_member(group, name);
  if (variable == nullptr || !config_setting_is_group(variable)) return nullptr;
  return variable;
}

const char* LookupString(config_setting_t* variable, const char* setting) {
  const char* text = nullptr;
  if (config_setting_lookup_string(variable, setting, &text) != CONFIG_TRUE) return nullptr;
  return text;
}

// Replaces the "value" of a date variable with its date as of now.
void ComputeDateValue(config_setting_t* variable) {
  const char* expression = LookupString(variable, "date");
  const char* format = LookupString(variable, "format");
  DateWord date;
  int64_t when = ParseDateExpression(expression != nullptr ? expression : "*", &date)
                     ? DateWordToTime(date)
                     : CurrentTime();
  const char* text = FormatTime(when, format != nullptr ? format : "%Y-%m-%d");
  config_setting_remove(variable, "value");
  config_setting_t* value = config_setting_add(variable, "value", CONFIG_TYPE_STRING);
  if (value != nullptr) config_setting_set_string(value, text);
}

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '-' || c == '_';
}

std::string CutFallback(std::string text) {
  if (text.size() > kFallbackTextLimit) text.resize(kFallbackTextLimit);
  return text;
}

// The replacement for `marker` followed by `name` (possibly empty); `after_marker` is
// true when the character consumed just before was the same marker (an escape).
std::string Replacement(VariableStore* store, char marker, const std::string& name,
                        bool after_marker, bool no_environment) {
  if (name.empty()) return std::string(1, marker);
  if (after_marker) return name;
  if (marker == '$') {
    const char* value = GetVariable(store, name.c_str());
    return value != nullptr ? std::string(value) : CutFallback("$" + name);
  }
  const char* value = no_environment ? nullptr : getenv(name.c_str());
  return value != nullptr ? std::string(value) : CutFallback("***BADENV:" + name + "***");
}

}  // namespace

void InitVariables(VariableStore* store, config_t* configuration, int loaded) {
  memset(store, 0, sizeof *store);
  store->operations.SetVariable = SetVariable;
  store->operations.FreeVariables = FreeVariables;
  store->operations.ExpandVariables = ExpandVariables;

  store->configuration = configuration != nullptr ? configuration : &store->own_configuration;
  if (configuration == nullptr || !loaded) {
    config_init(store->configuration);
    store->owns_configuration = 1;
    const char* path = getenv("ZORMVARFILE");
    // An unusable file leaves the store empty: reports still run, with the
    // references left as written.
    if (path != nullptr) ReadVariablesFile(store->configuration, path);
  }
  if (config_lookup(store->configuration, kVariableGroup) == nullptr)
    config_setting_add(config_root_setting(store->configuration), kVariableGroup,
                       CONFIG_TYPE_GROUP);

  LockInit(&store->lock);
  store->lock_state |= kVariableLockInitialised;
  store->operations.DeleteLock = LockDelete;
  store->operations.EnterLock = LockEnter;
  store->operations.LeaveLock = LockLeave;
  store->operations.LockedAdd = LockedAdd;
}

int SetVariable(VariableStore* store, const char* name, const char* format, ...) {
  char value[kVariableValueLimit + 1];
  va_list arguments;
  va_start(arguments, format);
  vsnprintf(value, sizeof value, format, arguments);
  va_end(arguments);

  config_setting_t* group = config_lookup(store->configuration, kVariableGroup);
  if (group == nullptr || !config_setting_is_group(group)) return 1;
  config_setting_t* variable = config_setting_get_member(group, name);
  if (variable == nullptr) variable = config_setting_add(group, name, CONFIG_TYPE_GROUP);
  if (variable == nullptr || !config_setting_is_group(variable)) return 1;
  config_setting_t* setting = config_setting_get_member(variable, "value");
  if (setting == nullptr) setting = config_setting_add(variable, "value", CONFIG_TYPE_STRING);
  if (setting == nullptr) return 1;
  config_setting_set_string(setting, value);
  return 1;
}

const char* GetVariable(VariableStore* store, const char* name) {
  config_setting_t* variable = FindVariable(store, name);
  if (variable == nullptr) return nullptr;
  const char* type = LookupString(variable, "type");
  if (type != nullptr && strcmp(type, "date") == 0) ComputeDateValue(variable);
  return LookupString(variable, "value");
}

int ExpandVariables(VariableStore* store, const char* input, char* output, unsigned size,
                    int no_environment) {
  if (size == 0) return 1;
  memset(output, 0, size);
  const size_t limit = size - 1;
  size_t written = 0;
  char previous = '\0';  // the input character consumed last
  const char* p = input;
  while (*p != '\0' && written < limit) {
    const char marker = *p;
    if (marker != '$' && marker != '%') {
      output[written++] = marker;
      previous = *p++;
      continue;
    }
    const char* name_start = p + 1;
    const char* name_end = name_start;
    while (IsNameCharacter(*name_end) && static_cast<size_t>(name_end - name_start) < kNameLimit)
      ++name_end;
    std::string name(name_start, name_end);
    std::string text = Replacement(store, marker, name, previous == marker, no_environment != 0);
    if (text.size() <= limit - written) {
      memcpy(output + written, text.data(), text.size());
      written += text.size();
    }
    previous = name.empty() ? marker : name.back();
    p = name_end;
    if (*p == '.') previous = *p++;
  }
  output[written] = '\0';
  return 1;
}

void FreeVariables(VariableStore* store) {
  if (store->lock_state & kVariableLockInitialised) {
    store->operations.DeleteLock(&store->lock);
    store->lock_state &= ~kVariableLockInitialised;
  }
  if (store->owns_configuration) {
    config_destroy(store->configuration);
    store->owns_configuration = 0;
  }
}
