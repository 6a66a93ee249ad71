// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes as LogAway.log to Tallio's reading of the time away.

#include "fuzz/awaylog_check.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (const char *broken = fuzzcheck::checkAway(data, size)) {
        std::fprintf(stderr, "broken rule: %s\n", broken);
        std::abort();
    }
    return 0;
}
