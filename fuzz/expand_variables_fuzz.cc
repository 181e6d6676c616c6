// Variable expansion of arbitrary text into small outputs. The first byte picks the
// output size (0 to 63) and the no-environment flag; the rest is the input.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "report/variable_store.h"

namespace {

VariableStore* Store() {
  static VariableStore* store = [] {
    static VariableStore s;
    unsetenv("ZORMVARFILE");
    InitVariables(&s, nullptr, 0);
    SetVariable(&s, "SITE", "Main");
    SetVariable(&s, "EMPTY", "%s", "");
    SetVariable(&s, "LONG", "%s", std::string(200, 'L').c_str());
    SetVariable(&s, "REF", "$SITE %%HOME");
    config_setting_t* group = config_lookup(s.configuration, "variable");
    config_setting_t* date = config_setting_add(group, "DAY", CONFIG_TYPE_GROUP);
    config_setting_set_string(config_setting_add(date, "type", CONFIG_TYPE_STRING), "date");
    config_setting_set_string(config_setting_add(date, "date", CONFIG_TYPE_STRING), "m-1");
    return &s;
  }();
  return store;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const unsigned output_size = data[0] & 0x3F;
  const int no_environment = (data[0] >> 6) & 1;
  std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  // Exactly output_size bytes on the heap, so that any write past them is caught.
  std::vector<char> output(output_size);
  ExpandVariables(Store(), input.c_str(), output.data(), output_size, no_environment);
  if (output_size > 0 && memchr(output.data(), '\0', output_size) == nullptr) abort();
  return 0;
}
