// Identifiers that are unique across machines and time.
#pragma once

#include <string>

// A new random UUID in its 36-character text form, upper case, without braces
// (8-4-4-4-12 hexadecimal digits). False, with `text` untouched, when the system
// could not make one.
bool CreateUuidText(std::string* text);
