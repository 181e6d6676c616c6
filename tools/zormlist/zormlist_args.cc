#include "tools/zormlist/zormlist_args.h"

#include <cstring>

bool ParseZormListArgs(int argc, const char* const* argv, ZormListArgs* args) {
  bool have_file = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (strcmp(arg, "--mail-to") == 0) {
      // An address is never taken for an option; "--mail-to --x" is a mistake.
      if (i + 1 == argc || argv[i + 1][0] == '-') return false;
      args->recipients.emplace_back(argv[++i]);
    } else if (arg[0] == '-' || have_file) {
      return false;
    } else {
      args->file = arg;
      have_file = true;
    }
  }
  return have_file;
}
