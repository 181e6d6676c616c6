// The command line of zormlist: [--mail-to ADDRESS]... FILE. Pure; no wx.
#pragma once

#include <string>
#include <vector>

struct ZormListArgs {
  std::string file;
  // Each --mail-to in order: the list's export command then offers "Email" to them.
  std::vector<std::string> recipients;
};

// Reads argv[1..argc-1]. False, with `*args` partly filled, when there is not
// exactly one file, an option is unknown or --mail-to lacks its address.
bool ParseZormListArgs(int argc, const char* const* argv, ZormListArgs* args);
