// Facts about the user's session that the program shows or uses in file names.
#pragma once

#include <string>

// The login name of the user the program runs as; empty when unknown.
std::string UserName();
// The machine's host name; empty when unknown.
std::string ComputerName();
