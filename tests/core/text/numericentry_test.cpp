// SPDX-License-Identifier: MIT
// The key filters and base conversions, row by row.

#include "core/text/numericentry.h"
#include "support/qstringprint.h"

#include <gtest/gtest.h>

#include <vector>

using namespace core::text;

namespace {

struct FilterRow
{
    int code;
    bool num;    // passes OnlyNum
    bool numDec; // passes OnlyNumDec
    bool hex;    // passes OnlyHex
};

const std::vector<FilterRow> kFilterRows = {
    {'5', true, true, true},     {'0', true, true, true},    {'9', true, true, true},
    {'.', false, true, false},   {'a', false, false, true},  {'f', false, false, true},
    {'F', false, false, true},   {'A', false, false, true},  {'g', false, false, false},
    {'G', false, false, false},  {'-', false, false, false}, {'+', false, false, false},
    {' ', false, false, false},  {',', false, false, false}, {'/', false, false, false},
    {':', false, false, false},  {'@', false, false, false}, {'`', false, false, false},
    {8, true, true, true},       {9, true, true, true},      {10, true, true, true},
    {13, true, true, true},      {3, false, false, false},   {22, false, false, false},
    {24, false, false, false},   {27, false, false, false},  {0x00BD, false, false, false},
    {0xFF10, false, false, false}, // a full-width digit is not one of ours
    {-1, false, false, false},
};

} // namespace

TEST(NumericEntry, FiltersPassOnlyTheirCharactersAndTheControlKeys)
{
    using Filter = std::int16_t (*)(std::int16_t &);
    const std::pair<const char *, Filter> filters[] = {{"OnlyNum", OnlyNum}, {"OnlyNumDec", OnlyNumDec}, {"OnlyHex", OnlyHex}};
    for (const FilterRow &row : kFilterRows) {
        const bool expected[] = {row.num, row.numDec, row.hex};
        for (int f = 0; f < 3; ++f) {
            auto code = static_cast<std::int16_t>(row.code);
            const std::int16_t returned = filters[f].second(code);
            const std::int16_t want = expected[f] ? static_cast<std::int16_t>(row.code) : 0;
            EXPECT_EQ(code, want) << filters[f].first << " code " << row.code;
            EXPECT_EQ(returned, code) << filters[f].first << " returns what it leaves, code " << row.code;
        }
    }
}

TEST(NumericEntry, Conversions)
{
    struct Hex2DecRow { QString in; std::int32_t out; };
    const std::vector<Hex2DecRow> hex2dec = {
        {"FF", 255}, {"C0", 192}, {"0A", 10}, {"", 0}, {"0", 0}, {"A", 10}, {"10", 16},
        {"7FFFFFFF", 2147483647},
        {"ff", -17},             // not upper case: each counts as -1
        {"G1", -15},
        {"FFFFFFFFFF", 2147483647}, // beyond 32 bits it stops at the limit
    };
    for (const auto &r : hex2dec)
        EXPECT_EQ(Hex2Dec(r.in), r.out) << qPrintable(r.in);

    struct Dec2BinRow { std::int32_t in; QString out; };
    const std::vector<Dec2BinRow> dec2bin = {
        {0, "0000"}, {5, "101"}, {255, "11111111"}, {1, "1"}, {16, "10000"},
        {-1, QString(32, QLatin1Char('1'))},
        {12632064, "110000001100000000000000"},
    };
    for (const auto &r : dec2bin)
        EXPECT_EQ(Dec2Bin(r.in), r.out) << r.in;

    struct Bin2HexRow { QString in; QString out; };
    const std::vector<Bin2HexRow> bin2hex = {
        {"101", "05"}, {"1111", "0F"}, {"1111111100000000", "FF00"}, {"", "00"}, {"0000", "00"},
        {"1", "01"}, {"10000", "10"},
        {QString(31, QLatin1Char('1')), "7FFFFFFF"},
        {QString(40, QLatin1Char('1')), "7FFFFFFF"}, // too long for 32 bits: the limit, no overflow
        {"1x1", "05"},                               // a non-digit counts as 0
    };
    for (const auto &r : bin2hex)
        EXPECT_EQ(Bin2Hex(r.in), r.out) << qPrintable(r.in);

    const std::vector<std::pair<std::int32_t, QString>> roundTrip = {
        {12632064, "C0C000"}, {15, "0F"}, {0, "00"}, {255, "FF"}, {0xFFFFFF, "FFFFFF"}, {0x0F0000, "0F0000"}, {256, "0100"}};
    for (const auto &[value, hex] : roundTrip)
        EXPECT_EQ(Bin2Hex(Dec2Bin(value)), hex) << value;
}

TEST(NumericEntry, TextsTurnedIntoNumbersWhenApplied)
{
    struct Row { QString text; double fallback; double value; bool rewrite; };
    const std::vector<Row> rows = {
        {"12", 7, 12, false},   {"007", 7, 7, false},  {"1.5", 7, 1.5, false},
        {"1.2.3", 7, 1.2, true}, {"12ab", 7, 12, true}, {"abc", 7, 7, true},
        {"", 7, 7, true},        {".", 7, 7, true},     {"5.", 7, 5, false},
        {"-3", 7, -3, false},
    };
    for (const Row &r : rows) {
        const Applied a = appliedNumber(r.text, r.fallback);
        EXPECT_DOUBLE_EQ(a.value, r.value) << qPrintable(r.text);
        EXPECT_EQ(a.rewrite, r.rewrite) << qPrintable(r.text);
    }
}
