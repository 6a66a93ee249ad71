// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the reading of a journal entry, the file a crashed
// session leaves behind for the next start to deliver.

#include "fuzz/journalentry_check.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (const char *broken = fuzzcheck::checkEntry(data, size)) {
        std::fprintf(stderr, "broken rule: %s\n", broken);
        std::abort();
    }
    return 0;
}
