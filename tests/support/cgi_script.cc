#include "tests/support/cgi_script.h"

#include <sys/stat.h>

#include "tests/support/test_env.h"

bool WriteCgiScript(const std::string& path, const std::string& body) {
  return WriteWholeFile(path, "#!/bin/sh\n" + body) && chmod(path.c_str(), 0755) == 0;
}
