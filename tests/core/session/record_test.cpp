// SPDX-License-Identifier: MIT
#include "core/session/record.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using core::session::SessionRecord;

// What a value is after its trip through 15 significant digits.
double roundTo15(double v)
{
    return QString::number(v, 'g', 15).toDouble();
}

TEST(SessionRecordForms, DataAndDisplayFormsByteForByte)
{
    struct Row
    {
        const char *name;
        SessionRecord record;
        const char *data;
        const char *display; // C locale
    };
    const Row rows[] = {
        {"ordinary", {QDate(1999, 11, 18), QTime(9, 15, 2), QTime(10, 17, 5), 3723.4609375, QStringLiteral("1:02:03")},
         "\"----------\"\r\n#1999-11-18#\r\n#09:15:02#\r\n#10:17:05#\r\n3723.4609375\r\n\"1:02:03\"\r\n",
         "----------\r\n18 Nov 1999\r\n09:15:02\r\n10:17:05\r\n3723.4609375\r\n1:02:03\r\n"},
        {"before the first tick", {QDate(2026, 12, 7), QTime(23, 59, 30), QTime(23, 59, 30), std::nullopt, QString()},
         "\"----------\"\r\n#2026-12-07#\r\n#23:59:30#\r\n#23:59:30#\r\n\r\n\r\n",
         "----------\r\n7 Dec 2026\r\n23:59:30\r\n23:59:30\r\n\r\n\r\n"},
        {"more than a day, whole seconds",
         {QDate(2026, 12, 8), QTime(0, 0, 0), QTime(3, 3, 9), 97389.0, QStringLiteral("27:03:09")},
         "\"----------\"\r\n#2026-12-08#\r\n#00:00:00#\r\n#03:03:09#\r\n97389\r\n\"27:03:09\"\r\n",
         "----------\r\n8 Dec 2026\r\n00:00:00\r\n03:03:09\r\n97389\r\n27:03:09\r\n"},
        {"fifteen significant digits", {QDate(2026, 1, 2), QTime(1, 2, 3), QTime(4, 5, 6), 1.0 / 3.0, QStringLiteral("0:00:00")},
         "\"----------\"\r\n#2026-01-02#\r\n#01:02:03#\r\n#04:05:06#\r\n0.333333333333333\r\n\"0:00:00\"\r\n",
         "----------\r\n2 Jan 2026\r\n01:02:03\r\n04:05:06\r\n0.333333333333333\r\n0:00:00\r\n"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(core::session::dataForm(row.record), QByteArray(row.data)) << row.name;
        EXPECT_EQ(core::session::displayForm(row.record, QLocale::c()), QByteArray(row.display)) << row.name;
    }
}

TEST(SessionRecordForms, DisplayFormFollowsTheUsersLocaleButKeepsTheDataNumber)
{
    const SessionRecord r{QDate(1999, 11, 18), QTime(9, 15, 2), QTime(10, 17, 5), 3723.5, QStringLiteral("1:02:03")};
    EXPECT_EQ(core::session::displayForm(r, QLocale(QStringLiteral("de_DE"))),
              QByteArray("----------\r\n18.11.1999\r\n09:15:02\r\n10:17:05\r\n3723.5\r\n1:02:03\r\n"));
    EXPECT_EQ(core::session::displayForm(r, QLocale(QStringLiteral("en_US"))),
              QByteArray("----------\r\n11/18/1999\r\n9:15:02 AM\r\n10:17:05 AM\r\n3723.5\r\n1:02:03\r\n"));
}

TEST(SessionRecordForms, ValuesReadBackAsWritten)
{
    EXPECT_EQ(core::session::parseDataDate("#1999-11-18#"), QDate(1999, 11, 18));
    EXPECT_EQ(core::session::parseDataDate("#1999-11-18#\r"), QDate(1999, 11, 18));
    EXPECT_EQ(core::session::parseDataDate(core::session::dataDate(QDate(2028, 2, 29))), QDate(2028, 2, 29));
    EXPECT_EQ(core::session::parseDataTime("#09:15:02#"), QTime(9, 15, 2));
    for (const char *bad : {"", "1999-11-18", "#1999-13-01#", "#1999-02-30#", "#99-11-18#", "#1999-1x-18#", "\"x\""})
        EXPECT_FALSE(core::session::parseDataDate(bad).has_value()) << bad;
    for (const char *bad : {"#24:00:00#", "#9:15:02#", "#09:60:00#"})
        EXPECT_FALSE(core::session::parseDataTime(bad).has_value()) << bad;

    for (double v : {0.0, 3723.4609375, 1.0 / 3.0, 86400.0, -1.5, 1e15})
        EXPECT_DOUBLE_EQ(*core::session::parseDataNumber(core::session::dataNumber(v)), roundTo15(v));
    for (const char *bad : {"", "abc", "1,5", "1.2.3", "inf", "nan", "--1", "1e", "\"3600\""})
        EXPECT_FALSE(core::session::parseDataNumber(bad).has_value()) << bad;
    EXPECT_TRUE(core::session::isEmptyValue(""));
    EXPECT_TRUE(core::session::isEmptyValue("\r"));
    EXPECT_FALSE(core::session::isEmptyValue("0"));
}

} // namespace
