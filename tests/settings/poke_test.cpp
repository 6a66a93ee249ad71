// SPDX-License-Identifier: MIT
// Poking the settings window's picture: the about window on a poke number of
// 1, the last message repeated, and no reseeding.

#include "about/frmabout.h"
#include "clock/tockafixture.h"

using PokeClick = TockaFixture;

TEST_F(PokeClick, ANumberOfOneOpensAboutAndRepeatsTheLastMessage)
{
    settings::FrmSetting &s = settings();
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
