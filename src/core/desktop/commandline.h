// SPDX-License-Identifier: MIT
#pragma once
// The few words the programs understand on their command line. They are read
// before any window system is touched, so `--help` and `--version` work on a
// console without a display and start nothing.

#include <cstdio>
#include <optional>

namespace core::desktop {

struct Program
{
    const char *name;  // as typed: "tocka"
    const char *usage; // the text after "Usage: ", one or more lines
    const char *about; // what the program does, a few lines
};

// Prints help or the version on `out`, or the usage on `err` for anything
// else. Returns the exit status when the program should end now, nothing
// when it should start as usual (no arguments at all).
std::optional<int> handleCommandLine(int argc, const char *const *argv, const Program &program, std::FILE *out = stdout,
                          std::FILE *err = stderr);

// "tocka 1.19.76", as --version prints it.
void printVersion(const char *name, std::FILE *out);

} // namespace core::desktop
