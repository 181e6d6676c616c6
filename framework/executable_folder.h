// Where the running program lives.
#pragma once

#include <string>

// The folder of the running executable, ending in '/'; empty if it cannot be told.
std::string ExecutableFolder();
