// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to Tallio's reading of the session log.

#include "fuzz/logreader_check.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (const char *broken = fuzzcheck::check(data, size)) {
        std::fprintf(stderr, "broken rule: %s\n", broken);
        std::abort();
    }
    return 0;
}
