// Poking the settings window's picture: the draw's mapping to the eleven
// outcomes, the ten messages, and the about window on a poke number of 1.

#include "../clock/tockafixture.h"
#include "frmabout.h"
#include "pokemessages.h"

#include <cmath>
#include <map>
#include <set>

TEST(Poke, ElevenOutcomesEachOneInEleven)
{
    EXPECT_EQ(poke::numberFromDraw(0), 1);
    EXPECT_EQ(poke::numberFromDraw(0.0909f), 1);
    EXPECT_EQ(poke::numberFromDraw(0.0910f), 2);
    EXPECT_EQ(poke::numberFromDraw(std::nextafter(1.0f, 0.0f)), 11);
    std::map<int, int> counts;
    const int samples = 11 * 1000;
    for (int i = 0; i < samples; ++i)
        ++counts[poke::numberFromDraw(static_cast<float>(i) / samples)];
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
        EXPECT_EQ(poke::message(n), QLatin1String(expected[n - 2])) << n;
    EXPECT_TRUE(poke::message(1).isEmpty());
    EXPECT_TRUE(poke::message(12).isEmpty());
}

using PokeClick = TockaFixture;

TEST_F(PokeClick, ANumberOfOneOpensAboutAndRepeatsTheLastMessage)
{
    FrmSetting &s = settings();
    const float one = 0.01f;
    const float five = 4.5f / 11;
    fake.randomValues = {one, five, one};
    const std::size_t seeds = fake.seeds.size();

    s.Image1.resize(s.Image1.sizeHint());
    QTest::mouseClick(&s.Image1, Qt::LeftButton); // before any message: an empty one
    EXPECT_TRUE(app->isFrmAboutLoaded() && app->frmAbout().isVisible());
    app->frmAbout().Unload();
    s.Image1_Click();
    EXPECT_FALSE(app->isFrmAboutLoaded());
    s.Image1_Click();
    EXPECT_TRUE(app->isFrmAboutLoaded());
    EXPECT_EQ(fake.messages,
              (QStringList{QString(), QStringLiteral("Leo the lion says Ger!"), QStringLiteral("Leo the lion says Ger!")}));
    EXPECT_EQ(fake.messageTitles, (QStringList{"Tocka!", "Tocka!", "Tocka!"}));
    EXPECT_EQ(fake.seeds.size(), seeds) << "a poke never reseeds";
    EXPECT_TRUE(fake.randomValues.empty());
}
