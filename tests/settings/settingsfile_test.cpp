// SPDX-License-Identifier: MIT
// LogSetin.ini loaded at start and written at exit.

#include "settings/settingsfixture.h"

#include "core/desktop/folders.h"
#include "core/settings/settingsfolder.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <functional>

#include <vector>

namespace {

QByteArray freshFile(const QByteArray &alwaysOnTop = "1")
{
    return "[Settings]\n"
           "SettingVersion=2.0\n"
           "ColourMode=0\n"
           "WindowSizeMode=BIG\n"
           "Form1_X=0\n"
           "Form1_Y=17960\n"
           "Label1_ForeColour=15649792\n"
           "Label1_BackColour=8421376\n"
           "FadeInterval=150\n"
           "FadeMagnitude=20\n"
           "ContrastOffset=0\n"
           "AllowFading=0\n"
           "ClockBackFade=0\n"
           "ClockFrontFade=0\n"
           "SettingFormFade=0\n"
           "SettingFrameFade=0\n"
           "ForeColorHex=00CCEE\n"
           "BackColorHex=008080\n"
           "AlwaysOnTop=" + alwaysOnTop + "\n";
}

} // namespace

class SettingsFileTest : public SettingsFixture
{
};

TEST_F(SettingsFileTest, FirstStartUsesTheDefaultsAndTheSaveWritesAll18Keys)
{
    start();
    EXPECT_EQ(clock().Top(), 0);
    EXPECT_EQ(clock().Left(), 19200 - 1220 - 20) << "right edge 20 twips from the screen's";
    EXPECT_EQ(settings().ForeHex.Text(), "00CCEE");
    EXPECT_EQ(settings().BackHex.Text(), "008080");
    EXPECT_EQ(clock().Label1.ForeColor(), core::units::rgbColour(0, 0xCC, 0xEE));
    EXPECT_EQ(settings().chkOnTop.Value(), 1);
    EXPECT_TRUE(clock().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(clock().WindowSizeMode, "BIG");
    EXPECT_FALSE(settings().isVisible()) << "loaded hidden";

    clock().SaveSettings();
    EXPECT_EQ(readIni(), freshFile());
}

TEST_F(SettingsFileTest, ValuesAsTheyComeFromTheFile)
{
    struct Row
    {
        const char *what;
        QByteArray file;
        std::function<void(SettingsFileTest &)> check;
    };
    const std::vector<Row> rows = {
        {"other version loads and is rewritten as 2.0", "[Settings]\nSettingVersion=1.7\nColourMode=3\n",
         [](SettingsFileTest &t) {
             EXPECT_EQ(t.clock().SettingVersion, "2.0");
             EXPECT_EQ(t.clock().ColourMode, 3);
         }},
        {"lower-case keys are found",
         "[settings]\nform1_x=300\nform1_y=450\nforecolorhex=ff0000\nalwaysontop=0\nwindowsizemode=SMALL\n",
         [](SettingsFileTest &t) {
             EXPECT_EQ(t.clock().Top(), 300);
             EXPECT_EQ(t.clock().Left(), 450);
             EXPECT_EQ(t.settings().ForeHex.Text(), "FF0000");
             EXPECT_EQ(t.clock().Label1.ForeColor(), core::units::rgbColour(255, 0, 0));
             EXPECT_EQ(t.settings().chkOnTop.Value(), 0);
             EXPECT_FALSE(t.clock().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
         }},
        {"exact <no value> is missing", "[Settings]\nWindowSizeMode=<no value>\nForm1_X=<no value>\n",
         [](SettingsFileTest &t) {
             EXPECT_EQ(t.clock().WindowSizeMode, "BIG");
             EXPECT_EQ(t.clock().Top(), 0);
         }},
        {"other letter case is a value", "[Settings]\nWindowSizeMode=<No Value>\n",
         [](SettingsFileTest &t) { EXPECT_EQ(t.clock().WindowSizeMode, "<No Value>"); }},
        {"SMALL is kept in the variable, the window starts BIG", "[Settings]\nWindowSizeMode=SMALL\n",
         [](SettingsFileTest &t) {
             EXPECT_EQ(t.clock().WindowSizeMode, "SMALL");
             EXPECT_EQ(t.clock().Width(), 1220);
             EXPECT_EQ(t.clock().Height(), 275);
             EXPECT_TRUE(t.clock().Label1.font().bold());
         }},
        {"a place off the screen is kept", "[Settings]\nForm1_X=-3000\nForm1_Y=250000.5\n",
         [](SettingsFileTest &t) {
             EXPECT_EQ(t.clock().Top(), -3000);
             EXPECT_EQ(t.clock().Left(), 250000.5f);
         }},
        {"a place beyond any screen is a damaged value", "[Settings]\nForm1_X=1e30\nForm1_Y=nan\n",
         [](SettingsFileTest &t) {
             EXPECT_EQ(t.clock().Top(), 0);
             EXPECT_EQ(t.clock().Left(), 17960);
         }},
        {"values that are no numbers keep what the window would have",
         "[Settings]\nColourMode=abc\nForm1_X=x\nFadeInterval=fast\nContrastOffset=\nAllowFading=7\n"
         "ClockBackFade=yes\nForeColorHex=XYZ\nBackColorHex=1234567\nAlwaysOnTop=\n",
         [](SettingsFileTest &t) {
             EXPECT_EQ(t.clock().ColourMode, 0);
             EXPECT_EQ(t.clock().Top(), 0);
             EXPECT_EQ(t.settings().FadeInterval.Text(), "150");
             EXPECT_EQ(t.settings().ContrastOffset.Text(), "0");
             EXPECT_EQ(t.settings().ChkFade.Value(), 0);
             EXPECT_EQ(t.settings().ChkClockFade.Value(), 0);
             EXPECT_EQ(t.settings().ForeHex.Text(), "00CCEE");
             EXPECT_EQ(t.settings().BackHex.Text(), "008080");
             EXPECT_EQ(t.settings().chkOnTop.Value(), 1);
         }},
        {"check boxes take whole numbers, halves to even",
         "[Settings]\nAllowFading=1\nClockBackFade=2\nClockFrontFade=0.5\nSettingFormFade=1.5\nColourMode=2.5\n",
         [](SettingsFileTest &t) {
             EXPECT_EQ(t.settings().ChkFade.Value(), 1);
             EXPECT_EQ(t.settings().ChkClockFade.Value(), 2);
             EXPECT_EQ(t.settings().ChkClockFaceFade.Value(), 0);
             EXPECT_EQ(t.settings().ChkSettingFormFade.Value(), 2);
             EXPECT_EQ(t.clock().ColourMode, 2);
         }},
        {"at most 255 characters of a value", "[Settings]\nWindowSizeMode=" + QByteArray(300, 'S') + "\n",
         [](SettingsFileTest &t) { EXPECT_EQ(t.clock().WindowSizeMode, QString(255, QLatin1Char('S'))); }},
        {"empty hex text is black", "[Settings]\nBackColorHex=\n",
         [](SettingsFileTest &t) {
             EXPECT_EQ(t.settings().BackHex.Text(), "");
             EXPECT_EQ(t.clock().Label1.BackColor(), 0);
         }},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        writeIni(r.file);
        start();
        r.check(*this);
        app.reset();
        settle();
    }
}

TEST_F(SettingsFileTest, SaveReplacesValuesWhereTheyStandAndKeepsTheRest)
{
    writeIni("; Tocka settings\r\n[Other]\r\nKeep=me\r\n[settings]\r\nalwaysontop=0\r\nform1_x=120\r\n"
             "Custom=1\r\n\r\n[Tail]\r\nT=1\r\n");
    start();
    clock().setTop(480);
    clock().SaveSettings();
    const QByteArray saved = readIni();
    EXPECT_TRUE(saved.startsWith("; Tocka settings\r\n[Other]\r\nKeep=me\r\n[settings]\r\nalwaysontop=0\r\n"
                                 "form1_x=480\r\nCustom=1\r\nSettingVersion=2.0\r\n"))
        << saved.constData();
    EXPECT_EQ(saved.toLower().count("alwaysontop="), 1);
    EXPECT_TRUE(saved.endsWith("BackColorHex=008080\r\n\r\n[Tail]\r\nT=1\r\n")) << saved.constData();
    EXPECT_EQ(saved.count("\r\n"), 10 + 16) << "ten lines kept, sixteen keys added";
}

// [Away]: the idle threshold a user writes by hand, and whether time away is
// counted, which the save keeps; a file that never had the section does not
// gain one until counting is switched off.
TEST_F(SettingsFileTest, TimeAwayHasASectionOfItsOwn)
{
    struct Row
    {
        const char *file;
        double idleMinutes;
        bool counting;
        bool switchOff;
        const char *savedAway; // the [Away] section as saved; "" for none
    };
    const Row rows[] = {
        {"", 5, true, false, ""},
        {"", 5, true, true, "[Away]\nCountTimeAway=0\n"},
        {"[Away]\nIdleMinutes=0.5\n", 0.5, true, false, "[Away]\nIdleMinutes=0.5\n"},
        {"[Away]\nIdleMinutes=0\nCountTimeAway=0\n", 0, false, false, "[Away]\nIdleMinutes=0\nCountTimeAway=0\n"},
        {"[away]\nidleminutes= 12 \ncounttimeaway=1\n", 12, true, true, "[away]\nidleminutes= 12 \ncounttimeaway=0\n"},
        {"[Away]\nIdleMinutes=soon\n", 5, true, false, "[Away]\nIdleMinutes=soon\n"},
        {"[Away]\nIdleMinutes=-3\n", 5, true, false, "[Away]\nIdleMinutes=-3\n"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.file);
        app.reset();
        settle();
        writeIni(freshFile() + row.file);
        start();
        EXPECT_EQ(clock().idleMinutes(), row.idleMinutes);
        EXPECT_EQ(clock().countingAway(), row.counting);
        if (row.switchOff)
            clock().setCountingAway(false);
        clock().SaveSettings();
        const QByteArray saved = readIni();
        EXPECT_TRUE(saved.startsWith(freshFile())) << saved.constData();
        EXPECT_EQ(saved.mid(freshFile().size()), QByteArray(row.savedAway)) << saved.constData();
    }
}

TEST_F(SettingsFileTest, ExitThroughCommand1SavesWhatTheUserLastSaw)
{
    start();
    settings::FrmSetting &s = settings();
    s.Show();
    s.FadeInterval.setTextFromCode("700");
    s.FadeMag.setTextFromCode("45");
    s.ContrastOffset.setTextFromCode("oops"); // pasted, never applied
    s.ChkFade.setValue(1);
    s.ChkClockFade.setValue(1);
    s.chkOnTop.setValue(0);
    s.Command1_Click();
    settle();

    const QByteArray saved = readIni();
    EXPECT_TRUE(saved.contains("\nFadeInterval=700\nFadeMagnitude=45\nContrastOffset=0\nAllowFading=1\n"
                               "ClockBackFade=1\nClockFrontFade=0\n"))
        << saved.constData();
    EXPECT_TRUE(saved.endsWith("\nAlwaysOnTop=0\n")) << saved.constData();
    EXPECT_FALSE(app->isForm1Loaded()) << "the clock window is gone";
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("LogData.log")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("Log.log")));

    // The next start restores them.
    app.reset();
    settle();
    start();
    EXPECT_EQ(settings().FadeInterval.Text(), "700");
    EXPECT_EQ(settings().ChkFade.Value(), 1);
    EXPECT_EQ(settings().chkOnTop.Value(), 0);
}

TEST_F(SettingsFileTest, AWindowReopenedForTheUserSavesWhatItShows)
{
    start();
    settings().FadeInterval.setTextFromCode("700");
    settings().Unload();
    settle();
    settings().Show(); // the user opens it again: fresh fade values
    clock().SaveSettings();
    EXPECT_TRUE(readIni().contains("\nFadeInterval=150\n"));
}

TEST_F(SettingsFileTest, AnUnwritableFileIsLeftAsItWasAndTheProgramGoesOn)
{
    ASSERT_TRUE(QDir().mkpath(iniPath())); // a folder where the file should be
    start();
    EXPECT_EQ(clock().Top(), 0) << "defaults";
    testing::internal::CaptureStderr();
    clock().SaveSettings();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("LogSetin.ini"), std::string::npos) << err;
    EXPECT_TRUE(QFileInfo(iniPath()).isDir());
}

TEST(SettingsFolder, PortableBesideTheProgramInstalledInTheConfigFolder)
{
    const QString config = "/home/u/.config/tocka/LogSetin.ini";
    struct Row
    {
        const char *what;
        const char *folder;
        bool installed, writable, besideExists, configExists;
        QString read, write;
    };
    const Row rows[] = {
        {"build tree or portable folder", "/b/apps/tocka", false, true, false, false,
         "/b/apps/tocka/LogSetin.ini", "/b/apps/tocka/LogSetin.ini"},
        {"portable folder with its file", "/opt/tocka", false, true, true, true,
         "/opt/tocka/LogSetin.ini", "/opt/tocka/LogSetin.ini"},
        {"package, first run", "/usr/bin", true, false, false, false, config, config},
        {"installed for the user, old file beside", "/home/u/.local/bin", true, true, true, false,
         "/home/u/.local/bin/LogSetin.ini", config},
        {"installed for the user, moved", "/home/u/.local/bin", true, true, true, true, config, config},
        {"package run by root", "/usr/bin", true, true, false, false, config, config},
        {"lone copy, unwritable folder, file shipped beside", "/usr/local/bin", false, false, true, false,
         "/usr/local/bin/LogSetin.ini", config},
        {"lone copy, unwritable folder, later", "/usr/local/bin", false, false, true, true, config, config},
    };
    for (const Row &row : rows) {
        core::settings::LocationFacts facts;
        facts.programFolder = row.folder;
        facts.installed = row.installed;
        facts.programFolderWritable = row.writable;
        facts.besideExists = row.besideExists;
        facts.configFolder = "/home/u/.config/tocka";
        facts.configFileExists = row.configExists;
        const auto where = core::settings::chooseLocation(facts);
        EXPECT_EQ(where.readPath, row.read) << row.what;
        EXPECT_EQ(where.writePath, row.write) << row.what;
    }
}

TEST_F(SettingsFileTest, AnInstalledCopySavesInTheConfigFolder)
{
    QStandardPaths::setTestModeEnabled(true);
    const QString config = core::desktop::settingsFolder();
    QDir(config).removeRecursively();
    // A program folder that cannot be written, whoever runs the test.
    fake.folder = dir.filePath(QStringLiteral("no-such-bin"));
    const QString path = core::settings::settingsFilePath(fake.programFolder());
    EXPECT_EQ(path, QDir(config).filePath("LogSetin.ini"));
    start();
    clock().SaveSettings();
    EXPECT_TRUE(QFileInfo::exists(path));
    QDir(config).removeRecursively();

    // Installed into a tree the user may write (~/.local, or anywhere by
    // root): the configuration folder all the same.
    ASSERT_TRUE(QDir().mkpath(dir.filePath("prefix/bin")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("prefix/share/applications")));
    QFile entry(dir.filePath("prefix/share/applications/tocka.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.close();
    fake.folder = dir.filePath("prefix/bin");
    EXPECT_EQ(core::settings::settingsFilePath(fake.programFolder()), path);
    QStandardPaths::setTestModeEnabled(false);
}
