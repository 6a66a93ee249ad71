// SPDX-License-Identifier: MIT
// Rounding halves to even, with and without narrowing to 32 bits, checked
// against the C library's round-to-nearest-even: the shortcuts taken for
// speed must agree with it on every value, ties and edges above all.

#include "core/text/numbers.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

namespace {

void expectRoundsLikeTheLibrary(double v)
{
    ASSERT_EQ(std::fegetround(), FE_TONEAREST);
    const double expected = std::nearbyint(v);
    const double got = core::text::roundHalfEven(v);
    if (std::isnan(v)) {
        EXPECT_TRUE(std::isnan(got));
        EXPECT_FALSE(core::text::toInt32(v).has_value());
        return;
    }
    EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << v << " gave " << got << ", not " << expected;
    const auto narrowed = core::text::toInt32(v);
    const bool inRange = expected >= std::numeric_limits<std::int32_t>::min()
        && expected <= std::numeric_limits<std::int32_t>::max();
    ASSERT_EQ(narrowed.has_value(), inRange) << v;
    if (inRange) {
        EXPECT_EQ(*narrowed, static_cast<std::int32_t>(expected)) << v;
    }
}

TEST(Rounding, HalvesGoToEvenEverywhere)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (const double v : {0.0, -0.0, 0.3, -0.3, 0.5, -0.5, 1.5, -1.5, 2.5, -2.5, 3600.5, 3603.5, 0.49999999999999994,
                           -0.49999999999999994, 1800.5 + 1800.5, 2147483646.5, 2147483647.4, 2147483647.5,
                           2147483648.0, -2147483648.4, -2147483648.5, -2147483648.6, -2147483649.5, 4503599627370495.5,
                           4503599627370497.0, 1e300, -1e300, inf, -inf, std::nan("")})
        expectRoundsLikeTheLibrary(v);

    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> wide(-3e9, 3e9);
    for (int i = 0; i < 100000; ++i) {
        const double v = wide(random);
        expectRoundsLikeTheLibrary(v);
        expectRoundsLikeTheLibrary(std::floor(v) + 0.5); // a tie
    }
}

} // namespace
