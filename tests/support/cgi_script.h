// Small CGI programs for tests: a shell script written into lighttpd's CGI folder.
#pragma once

#include <string>

// Writes "#!/bin/sh\n" + `body` to `path` and makes it executable; false on failure.
bool WriteCgiScript(const std::string& path, const std::string& body);
