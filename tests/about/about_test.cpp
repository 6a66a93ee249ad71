// SPDX-License-Identifier: MIT
// The about window: what it shows each time it opens, its link's colours and
// the home page it opens, and how it closes.

#include "about/frmabout.h"
#include "clock/tockafixture.h"

#include <QAccessible>
#include <QApplication>
#include <QWindow>
#include <QFile>

namespace {

// Notes the link's colour at the moment the browser is asked.
class LinkPlatform : public FakePlatform
{
public:
    forms::LabelControl *link = nullptr;
    core::units::Colour colourWhenOpened = -1;
    bool browserAnswers = true;
    bool openUrl(const QUrl &url) override
    {
        colourWhenOpened = link ? link->ForeColor() : -1;
        FakePlatform::openUrl(url);
        return browserAnswers;
    }
};

using About = TockaFixture;

} // namespace

TEST_F(About, ShowsTitleAndVersionEachTimeItOpens)
{
    for (int round = 0; round < 2; ++round) {
        about::frmAbout &about = app->frmAbout();
        about.Show();
        EXPECT_EQ(about.Caption(), QStringLiteral("About Tocka!"));
        EXPECT_EQ(about.lblVersion.Caption(), QStringLiteral("Version 1.19.76"));
        EXPECT_EQ(about.lblTitle.Caption(), QStringLiteral("Tocka!"));
        EXPECT_FALSE(about.lblHistory.Caption().isEmpty());
        EXPECT_FALSE(about.lblDisclaimer.Caption().isEmpty());
        QTest::mouseClick(&about.cmdOK, Qt::LeftButton);
        EXPECT_FALSE(app->isFrmAboutLoaded()) << "round " << round;
    }
}

TEST_F(About, EscapeClosesItLikeOK)
{
    about::frmAbout &about = app->frmAbout();
    about.Show();
    about.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(app->isFrmAboutLoaded());
}

TEST_F(About, OpensFromThePictureByKeyAboveTheSettingsAndClosesWithEnter)
{
    settings::FrmSetting &s = settings();
    s.Show();
    s.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
    fake.randomValues = {0.0f}; // poke number 1: the about window
    s.Image1.setFocus();
    QTest::keyClick(&s.Image1, Qt::Key_Return);
    ASSERT_TRUE(app->isFrmAboutLoaded());
    about::frmAbout &about = app->frmAbout();
    EXPECT_TRUE(about.isVisible());
    ASSERT_NE(about.windowHandle(), nullptr);
    EXPECT_EQ(about.windowHandle()->transientParent(), s.windowHandle()) << "kept above the window that opened it";
    // A window tied to an active one counts as active itself: wait for the
    // about window to hold the keyboard.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &about; }));
    EXPECT_EQ(QApplication::focusWidget(), &about.cmdOK);

    // Tab reaches the link, and Enter there follows it rather than closing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &about.lblHomePageLink);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(fake.openedUrls.size(), 1);
    EXPECT_TRUE(app->isFrmAboutLoaded());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(app->isFrmAboutLoaded());
}

TEST(AboutLink, GreenWhilePressedBlueBeforeTheHomePageOpens)
{
    LinkPlatform platform;
    about::frmAbout about(platform, QStringLiteral("Tocka!"));
    about.Form_Load();
    platform.link = &about.lblHomePageLink;
    EXPECT_EQ(about.lblHomePageLink.ForeColor(), core::units::rgbColour(0, 0, 255));

    QTest::mousePress(&about.lblHomePageLink, Qt::LeftButton);
    EXPECT_EQ(about.lblHomePageLink.ForeColor(), core::units::rgbColour(0, 128, 0));
    EXPECT_TRUE(platform.openedUrls.isEmpty());
    QTest::mouseRelease(&about.lblHomePageLink, Qt::LeftButton);
    EXPECT_EQ(platform.colourWhenOpened, core::units::rgbColour(0, 0, 255));

    // The home page is Tocka's own documentation, a local file.
    ASSERT_EQ(platform.openedUrls.size(), 1);
    const QUrl url = platform.openedUrls.front();
    ASSERT_TRUE(url.isLocalFile());
    QFile page(url.toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("Tocka"));
    EXPECT_TRUE(platform.messages.isEmpty());

    // Pressed, then released off the link: blue again, and nothing opens.
    QTest::mousePress(&about.lblHomePageLink, Qt::LeftButton);
    QTest::mouseRelease(&about.lblHomePageLink, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(about.lblHomePageLink.ForeColor(), core::units::rgbColour(0, 0, 255));
    EXPECT_EQ(platform.openedUrls.size(), 1);

    platform.browserAnswers = false;
    QTest::mouseClick(&about.lblHomePageLink, Qt::LeftButton);
    ASSERT_EQ(platform.messages.size(), 1) << "a link that does nothing says why";
    EXPECT_TRUE(platform.messages.front().contains(url.toLocalFile()));
}

TEST(AboutLink, EveryControlHasANameAndTheLinkSaysWhereItGoes)
{
    FakePlatform platform;
    about::frmAbout about(platform, QStringLiteral("Tocka!"));
    about.Form_Load();
    for (QWidget *w : std::initializer_list<QWidget *>{&about.picIcon, &about.lblTitle, &about.lblVersion,
                                                       &about.lblHistory, &about.lblDisclaimer,
                                                       &about.lblHomePageLink, &about.cmdOK})
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty())
            << w->metaObject()->className();
    EXPECT_EQ(about.lblHomePageLink.accessibleDescription(), about.lblHomePageLink.toolTip());
    EXPECT_TRUE(about.lblHomePageLink.toolTip().endsWith(QLatin1String("index.html")));
}

TEST(AboutText, EveryLabelShowsAllOfItsText)
{
    FakePlatform platform;
    about::frmAbout about(platform, QStringLiteral("Tocka!"));
    about.Form_Load();
    for (forms::LabelControl *label : {&about.lblTitle, &about.lblVersion, &about.lblHistory, &about.lblDisclaimer,
                                       &about.lblHomePageLink}) {
        const QSize needs = label->wordWrap() ? QSize(label->width(), label->heightForWidth(label->width()))
                                              : label->sizeHint();
        EXPECT_LE(needs.width(), label->width()) << label->text().toStdString();
        EXPECT_LE(needs.height(), label->height()) << label->text().toStdString();
    }
}
