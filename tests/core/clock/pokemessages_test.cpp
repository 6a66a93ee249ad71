// SPDX-License-Identifier: MIT
// The picture's pokes: the draw's mapping to the eleven outcomes and the ten
// messages.

#include "core/clock/pokemessages.h"
#include "support/qstringprint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

TEST(Poke, ElevenOutcomesEachOneInEleven)
{
    EXPECT_EQ(core::clock::pokeNumberFromDraw(0), 1);
    EXPECT_EQ(core::clock::pokeNumberFromDraw(0.0909f), 1);
    EXPECT_EQ(core::clock::pokeNumberFromDraw(0.0910f), 2);
    EXPECT_EQ(core::clock::pokeNumberFromDraw(std::nextafter(1.0f, 0.0f)), 11);
    std::map<int, int> counts;
    const int samples = 11 * 1000;
    for (int i = 0; i < samples; ++i)
        ++counts[core::clock::pokeNumberFromDraw(static_cast<float>(i) / samples)];
    ASSERT_EQ(counts.size(), 11u);
    for (const auto &[number, n] : counts)
        EXPECT_NEAR(n, 1000, 1) << number;
}

TEST(Poke, TenMessagesForTheNumbersTwoToEleven)
{
    const char *expected[] = {
        "AAAahhhhhhchhoooo!",
        "Owww! Quit poking me you bastard!",
        "AAAAAhhhhhh shit. I crapped my pants again.",
        "Leo the lion says Ger!",
        "Burp Burp!",
        "Try double-clicking for once, kid.",
        "Are you going to be here all day?",
        "If you only get paid for this...",
        "Hint-hint: click twice really fast. You know, double clicking?",
        "Pfff... Fart...!",
    };
    for (int n = 2; n <= 11; ++n)
        EXPECT_EQ(core::clock::pokeMessage(n), QLatin1String(expected[n - 2])) << n;
    EXPECT_TRUE(core::clock::pokeMessage(1).isEmpty());
    EXPECT_TRUE(core::clock::pokeMessage(12).isEmpty());
}
