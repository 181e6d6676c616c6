// Reading the report variables file (libconfig syntax) into a configuration, with
// the checks that keep a bad file from ending the program: libconfig's scanner ends
// the process when it cannot read its input (a directory, a device that fails) and
// follows "@include" directives to any file, endless devices among them. So the file
// is read here, as a regular file of bounded size, and handed to libconfig as text;
// files that use "@include" are refused.
#pragma once

#include <libconfig.h>

#include <cstddef>
#include <string>

// The largest variables file that is read (a few thousand variables fit easily).
constexpr size_t kVariablesFileLimit = 1 << 20;

// True when `text` may be handed to libconfig: no zero byte and no "@include"
// directive.
bool IsSafeConfigText(const std::string& text);

// Parses `text` into `config` (initialised by the caller). On any failure, checks or
// syntax, leaves `config` empty and returns false; prints nothing.
bool ReadVariablesText(config_t* config, const std::string& text);

// Reads the file at `path` into `config` (initialised by the caller). Returns false,
// with `config` empty, when the file is missing, not a regular file, larger than
// kVariablesFileLimit, refused by IsSafeConfigText or not valid libconfig syntax.
bool ReadVariablesFile(config_t* config, const char* path);
