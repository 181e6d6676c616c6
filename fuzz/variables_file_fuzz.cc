// Variables files of arbitrary content: the checks before libconfig, libconfig's
// parser, then lookups of whatever variables the file defines.
#include <cstdint>
#include <string>

#include "report/variable_store.h"
#include "report/variables_file.h"

// libconfig 1.5 drops the text of a string it was collecting when a parse fails (a
// bad variables file is read once per process, so the program lives with it).
extern "C" const char* __lsan_default_suppressions() { return "leak:libconfig.so"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kVariablesFileLimit) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  VariableStore store;
  config_t config;
  config_init(&config);
  ReadVariablesText(&config, text);
  InitVariables(&store, &config, 1);
  config_setting_t* group = config_lookup(&config, "variable");
  int count = group != nullptr ? config_setting_length(group) : 0;
  for (int i = 0; i < count && i < 16; ++i) {
    config_setting_t* member = config_setting_get_elem(group, i);
    const char* name = member != nullptr ? config_setting_name(member) : nullptr;
    if (name != nullptr) GetVariable(&store, name);
  }
  char output[64];
  ExpandVariables(&store, "$A $B.$C %%D $variable", output, sizeof output, 1);
  FreeVariables(&store);
  config_destroy(&config);
  return 0;
}
