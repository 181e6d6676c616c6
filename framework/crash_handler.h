// The framework's crash handler: the platform's crash dump writer, set up with the
// user's temporary folder and the program that shows "Program Terminated". Programs
// install it before anything else of the framework runs (InitFramework does).
#pragma once

#include <string>

// The message program that ships beside the executable, else the one in the build
// tree; empty when neither exists (the message then goes to stderr).
std::string DefaultCrashMessageProgram();

// Installs the handler once per process; later calls change nothing and return
// true. Returns false when the handlers cannot be installed (the program then runs
// without them).
bool InstallCrashHandler(const std::string& message_program = DefaultCrashMessageProgram());
