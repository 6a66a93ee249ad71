// SPDX-License-Identifier: MIT
#include "core/text/numbers.h"
#include "core/text/regional.h"

#include <QDate>
#include <QTime>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct TextRow
{
    double value;
    const char *text;
};

TEST(NumberText, ShortestFormOfAtMostFifteenDigits)
{
    const TextRow rows[] = {
        {0, "0"},
        {-0.0, "0"},
        {2, "2"},
        {2.0 * 86400, "172800"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"}, // 0.30000000000000004 has 17 digits
        {1.0 / 3.0, "0.333333333333333"},
        {19.9666666666667, "19.9666666666667"},
        {20.0 - 2.0 / 60.0, "19.9666666666667"},
        {3723.4609375, "3723.4609375"},
        {-1.5, "-1.5"},
        {2.5, "2.5"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},
        {1.5e-7, "1.5E-07"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(core::text::numberText(row.value), QString::fromLatin1(row.text)) << row.value;
}

TEST(NumberText, UsesTheGivenSeparatorAndNeverTheCLocale)
{
    EXPECT_EQ(core::text::numberText(0.1, QLatin1Char(',')), QStringLiteral("0,1"));
    EXPECT_EQ(core::text::numberText(2, QLatin1Char(',')), QStringLiteral("2"));
    EXPECT_EQ(core::text::singleText(1234.5f), QStringLiteral("1234.5"));
    // A single-precision position is written with its own precision, so a
    // stored 0.1f does not come back as 0.100000001490116.
    EXPECT_EQ(core::text::singleText(0.1f), QStringLiteral("0.1"));
    EXPECT_EQ(core::text::singleText(-35.0f), QStringLiteral("-35"));
}

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    const std::pair<double, double> rows[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, -0}, {-1.5, -2}, {-2.5, -2},
        {1800.5, 1800}, {3600.5, 3600}, {1802 + 1801.5, 3604}, {2.4999, 2}, {2.5001, 3},
    };
    for (const auto &[in, out] : rows)
        EXPECT_EQ(core::text::roundHalfEven(in), out) << in;
    EXPECT_EQ(core::text::floorInt(-0.5), -1);
    EXPECT_EQ(core::text::floorInt(3599.99), 3599);
}

TEST(Narrowing, OutOfRangeIsReportedNotWrapped)
{
    EXPECT_EQ(core::text::toInt32(2147483647.4), 2147483647);
    EXPECT_FALSE(core::text::toInt32(2147483647.5).has_value()); // rounds to 2^31
    EXPECT_EQ(core::text::toInt32(-2147483648.5), std::numeric_limits<std::int32_t>::min()); // even
    EXPECT_FALSE(core::text::toInt32(std::nan("")).has_value());
    EXPECT_EQ(core::text::toInt16(32767.0), 32767);
    EXPECT_FALSE(core::text::toInt16(32768.0).has_value());
    EXPECT_EQ(core::text::toInt16(2.5), 2);
    EXPECT_EQ(core::text::toInt16Clamped(1e9), 32767);
    EXPECT_EQ(core::text::toInt16Clamped(-1e9), -32768);
    EXPECT_EQ(core::text::toInt16Clamped(std::nan("")), 0);
}

TEST(Parsing, TakesWhatAUserTypesAndNothingElse)
{
    struct Row
    {
        const char *text;
        QChar point;
        std::optional<double> value;
    };
    const Row rows[] = {
        {"20", QLatin1Char('.'), 20},
        {" 19.5 ", QLatin1Char('.'), 19.5},
        {"19,5", QLatin1Char(','), 19.5},
        {"19,5", QLatin1Char('.'), std::nullopt},
        {".5", QLatin1Char('.'), 0.5},
        {"5.", QLatin1Char('.'), 5},
        {"-3", QLatin1Char('.'), -3},
        {"+3", QLatin1Char('.'), 3},
        {"1E+15", QLatin1Char('.'), 1e15},
        {"", QLatin1Char('.'), std::nullopt},
        {".", QLatin1Char('.'), std::nullopt},
        {"1.2.3", QLatin1Char('.'), std::nullopt},
        {"12abc", QLatin1Char('.'), std::nullopt},
        {"inf", QLatin1Char('.'), std::nullopt},
        {"nan", QLatin1Char('.'), std::nullopt},
        {"1e999", QLatin1Char('.'), std::nullopt},
        {"1e", QLatin1Char('.'), std::nullopt},
    };
    for (const auto &row : rows)
        EXPECT_EQ(core::text::parseNumber(QString::fromLatin1(row.text), row.point), row.value) << row.text;
}

TEST(Regional, ShortDatesKeepTheirFourDigitYearAndTimesTheirSeconds)
{
    const QDate date(1999, 11, 18);
    const QTime time(9, 5, 2);
    EXPECT_EQ(core::text::shortDate(date, QLocale(QStringLiteral("en_US"))), QStringLiteral("11/18/1999"));
    EXPECT_EQ(core::text::shortDate(date, QLocale(QStringLiteral("de_DE"))), QStringLiteral("18.11.1999"));
    EXPECT_EQ(core::text::shortDate(date, QLocale::c()), QStringLiteral("18 Nov 1999"));
    EXPECT_EQ(core::text::timeWithSeconds(time, QLocale(QStringLiteral("en_US"))), QStringLiteral("9:05:02 AM"));
    EXPECT_EQ(core::text::timeWithSeconds(time, QLocale(QStringLiteral("de_DE"))), QStringLiteral("09:05:02"));
    EXPECT_EQ(core::text::timeWithSeconds(time, QLocale::c()), QStringLiteral("09:05:02"));
    EXPECT_EQ(core::text::decimalPoint(QLocale(QStringLiteral("de_DE"))), QLatin1Char(','));
}

TEST(CalendarDays, CountDateBoundariesNotElapsedTime)
{
    EXPECT_EQ(QDate(1999, 11, 16).daysTo(QDate(1999, 11, 18)), 2);
    EXPECT_EQ(QDate(2026, 12, 31).daysTo(QDate(2027, 1, 1)), 1);
    EXPECT_EQ(QDate(2028, 2, 28).daysTo(QDate(2028, 3, 1)), 2); // leap year
    EXPECT_EQ(QDate(1999, 11, 18).daysTo(QDate(1999, 11, 16)), -2);
}

} // namespace
