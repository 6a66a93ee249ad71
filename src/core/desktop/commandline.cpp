// SPDX-License-Identifier: MIT
#include "core/desktop/commandline.h"

#include <cstring>

namespace core::desktop {

namespace {

void printUsage(const Program &program, std::FILE *to)
{
    std::fprintf(to, "Usage: %s\n", program.usage);
}

bool is(const char *argument, const char *longName, const char *shortName)
{
    return std::strcmp(argument, longName) == 0 || std::strcmp(argument, shortName) == 0;
}

} // namespace

void printVersion(const char *name, std::FILE *out)
{
    std::fprintf(out, "%s %d.%d.%d\n", name, TOCKA_VERSION_MAJOR, TOCKA_VERSION_MINOR, TOCKA_VERSION_REVISION);
}

std::optional<int> handleCommandLine(int argc, const char *const *argv, const Program &program, std::FILE *out, std::FILE *err)
{
    if (argc <= 1)
        return std::nullopt;
    if (argc == 2 && is(argv[1], "--help", "-h")) {
        printUsage(program, out);
        std::fprintf(out, "%s", program.about);
        return std::fflush(out) == 0 ? 0 : 1;
    }
    if (argc == 2 && is(argv[1], "--version", "-V")) {
        printVersion(program.name, out);
        return std::fflush(out) == 0 ? 0 : 1;
    }
    std::fprintf(err, "%s: unknown argument '%s'\n", program.name, argv[1]);
    printUsage(program, err);
    std::fprintf(err, "Try '%s --help' for more.\n", program.name);
    return 2;
}

} // namespace core::desktop
