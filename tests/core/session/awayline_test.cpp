// SPDX-License-Identifier: MIT
// A LogAway.log line reads back as written, and anything else is no line.

#include "core/session/awayline.h"

#include <gtest/gtest.h>

namespace {

using namespace core::session;

TEST(AwayLine, ReadsBackAsWrittenAndNothingElse)
{
    const AwayLine line{QDate(2026, 12, 7), QTime(9, 15, 2), QTime(17, 40, 11), {3600, 900, 600}};
    EXPECT_EQ(awayLine(line), "2026-12-07,09:15:02,17:40:11,3600,900,600\r\n");
    EXPECT_EQ(parseAwayLine("2026-12-07,09:15:02,17:40:11,3600,900,600"), line);
    EXPECT_EQ(parseAwayLine(awayLine({QDate(1, 1, 1), QTime(0, 0), QTime(23, 59, 59), {}}).chopped(2))->away,
              AwaySeconds{});
    for (const char *bad : {"", ",,,,,", "2026-12-07,09:15:02,17:40:11,3600,900",
                            "2026-12-07,09:15:02,17:40:11,3600,900,600,1", "2026-13-07,09:15:02,17:40:11,1,2,3",
                            "2026-12-07,24:00:00,17:40:11,1,2,3", "2026-12-07,09:15:02,17:40:11,-1,2,3",
                            "2026-12-07,09:15:02,17:40:11,1.5,2,3", "2026-12-07,09:15:02,17:40:11,1000000000000,2,3",
                            "#2026-12-07#,09:15:02,17:40:11,1,2,3", "2026-12-07,09:15:02,17:40:11,1,2,3\r"}) {
        EXPECT_EQ(parseAwayLine(bad), std::nullopt) << bad;
    }
    EXPECT_NE(sessionKey(line.endDate, line.startTime, line.endTime),
              sessionKey(line.endDate, line.endTime, line.startTime));
}

} // namespace
