// SPDX-License-Identifier: MIT
// Numbers read back from the data form must be exactly the doubles the
// standard conversion gives: the reader takes a short cut for the usual
// forms, and a wrong last bit would change a rounded total.

#include "core/session/record.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace {

double standard(const std::string &text)
{
    const char *first = text.c_str();
    if (*first == '+')
        ++first;
    double value = 0;
    std::from_chars(first, text.c_str() + text.size(), value);
    return value;
}

void expectSameBits(const std::string &text)
{
    const auto parsed
        = core::session::parseDataNumber(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    ASSERT_TRUE(parsed.has_value()) << text;
    const double expected = standard(text);
    EXPECT_EQ(std::memcmp(&*parsed, &expected, sizeof expected), 0) << text << " read as " << *parsed;
}

TEST(DataNumber, ReadsExactlyAsTheStandardConversion)
{
    for (const char *text : {"0", "-0", "+0", "3723.4609375", "0.1", "0.3", "1800.5", "-1801.5", "123456789012345",
                             "0.000000000000001", "999999999999999", "1234567890123456", "0.1234567890123456789",
                             "9007199254740993", "1e5", "1.5E-7", "-2.5e+10", ".5", "5.", "00000000000000000001.5"})
        expectSameBits(text);

    // Random texts of up to 17 digits with the point anywhere, as writers
    // other than Tocka may leave them.
    std::mt19937_64 random(20240607);
    for (int i = 0; i < 20000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 17);
        std::string text = (random() % 5 == 0) ? "-" : "";
        const int point = static_cast<int>(random() % (digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point && d > 0)
                text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        expectSameBits(text);
    }
}

TEST(DataNumber, RefusesWhatIsNoNumber)
{
    for (const char *text : {"", " ", "-", ".", "1.2.3", "1e", "1e+", "nan", "inf", "-Infinity", "0x10", "1,5", "12x",
                             "1 2", "1e999"})
        EXPECT_FALSE(core::session::parseDataNumber(QByteArrayView(text, static_cast<qsizetype>(std::strlen(text)))))
            << text;
}

} // namespace
