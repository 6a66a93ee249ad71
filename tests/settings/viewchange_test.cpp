// SPDX-License-Identifier: MIT
// The colour editor: decimal and hex boxes kept in step, both colours applied.

#include "settings/settingsfixture.h"

#include <vector>

namespace {

struct Boxes
{
    QString forRed, forGreen, forBlue, bacRed, bacGreen, bacBlue, foreHex, backHex;
};

struct Row
{
    const char *what;
    Boxes before;
    QString argument;
    Boxes after;
    core::units::Colour fore;
    core::units::Colour back;
};

void put(settings::FrmSetting &s, const Boxes &b)
{
    s.ForRed.setTextFromCode(b.forRed);
    s.ForGreen.setTextFromCode(b.forGreen);
    s.ForBlue.setTextFromCode(b.forBlue);
    s.BacRed.setTextFromCode(b.bacRed);
    s.BacGreen.setTextFromCode(b.bacGreen);
    s.BacBlue.setTextFromCode(b.bacBlue);
    s.ForeHex.setTextFromCode(b.foreHex);
    s.BackHex.setTextFromCode(b.backHex);
}

Boxes take(settings::FrmSetting &s)
{
    return {s.ForRed.Text(), s.ForGreen.Text(), s.ForBlue.Text(), s.BacRed.Text(),
            s.BacGreen.Text(), s.BacBlue.Text(), s.ForeHex.Text(), s.BackHex.Text()};
}

std::string show(const Boxes &b)
{
    return QStringList{b.forRed, b.forGreen, b.forBlue, b.bacRed, b.bacGreen, b.bacBlue, b.foreHex, b.backHex}
        .join(QLatin1Char('|'))
        .toStdString();
}

} // namespace

class ViewChangeTest : public SettingsFixture
{
};

TEST_F(ViewChangeTest, WorkedExamplesAndShortHexTexts)
{
    const std::vector<Row> rows = {
        { "green above 255 is limited; back hex rebuilt too", { "0", "300", "5", "1", "2", "3", "x", "y" }, "num",
            { "0", "255", "5", "1", "2", "3", "00FF05", "010203" }, core::units::rgbColour(0, 255, 5),
            core::units::rgbColour(1, 2, 3) },
        { "leading zeros kept, pair 07", { "0", "0", "0", "007", "0", "0", "", "" }, "num",
            { "0", "0", "0", "007", "0", "0", "000000", "070000" }, 0, core::units::rgbColour(7, 0, 0) },
        { "cleared boxes become 0", { "", "", "", "", "", "", "FFFFFF", "FFFFFF" }, "num",
            { "0", "0", "0", "0", "0", "0", "000000", "000000" }, 0, 0 },
        { "256 limited, 255 kept", { "255", "0", "0", "0", "0", "256", "", "" }, "num",
            { "255", "0", "0", "0", "0", "255", "FF0000", "0000FF" }, core::units::rgbColour(255, 0, 0),
            core::units::rgbColour(0, 0, 255) },
        { "components below 16 give two digits", { "1", "10", "15", "0", "9", "16", "", "" }, "num",
            { "1", "10", "15", "0", "9", "16", "010A0F", "000910" }, core::units::rgbColour(1, 10, 15),
            core::units::rgbColour(0, 9, 16) },
        { "lower-case hex upper-cased and decoded", { "1", "1", "1", "1", "1", "1", "c0c0", "008080" }, "hex",
            { "192", "192", "192", "0", "128", "128", "C0C0", "008080" }, core::units::rgbColour(192, 192, 192),
            core::units::rgbColour(0, 128, 128) },
        { "empty back hex is black and stays empty", { "9", "9", "9", "9", "9", "9", "00CCEE", "" }, "hex",
            { "0", "204", "238", "0", "0", "0", "00CCEE", "" }, core::units::rgbColour(0, 204, 238), 0 },
        { "length 6", { "", "", "", "", "", "", "123456", "ABCDEF" }, "hex",
            { "18", "52", "86", "171", "205", "239", "123456", "ABCDEF" }, core::units::rgbColour(18, 52, 86),
            core::units::rgbColour(171, 205, 239) },
        { "length 5", { "", "", "", "", "", "", "12345", "0" }, "hex",
            { "18", "52", "69", "0", "0", "0", "12345", "0" }, core::units::rgbColour(18, 52, 69), 0 },
        { "length 4", { "", "", "", "", "", "", "1234", "0" }, "hex", { "18", "52", "52", "0", "0", "0", "1234", "0" },
            core::units::rgbColour(18, 52, 52), 0 },
        { "length 3", { "", "", "", "", "", "", "ABC", "0" }, "hex", { "171", "188", "188", "0", "0", "0", "ABC", "0" },
            core::units::rgbColour(171, 188, 188), 0 },
        { "length 2", { "", "", "", "", "", "", "12", "0" }, "hex", { "18", "18", "18", "0", "0", "0", "12", "0" },
            core::units::rgbColour(18, 18, 18), 0 },
        { "length 1", { "", "", "", "", "", "", "F", "0" }, "hex", { "15", "15", "15", "0", "0", "0", "F", "0" },
            core::units::rgbColour(15, 15, 15), 0 },
        { "pasted non-hex digits give no negative component", { "", "", "", "", "", "", "ZZ10GG", "0" }, "hex",
            { "0", "16", "0", "0", "0", "0", "ZZ10GG", "0" }, core::units::rgbColour(0, 16, 0), 0 },
        { "neither argument: only the colours are applied", { "1", "2", "3", "4", "5", "6", "q", "r" }, "other",
            { "1", "2", "3", "4", "5", "6", "q", "r" }, core::units::rgbColour(1, 2, 3), core::units::rgbColour(4, 5, 6) },
        { "the argument is compared with case", { "7", "8", "9", "1", "1", "1", "AAAAAA", "BBBBBB" }, "HEX",
            { "7", "8", "9", "1", "1", "1", "AAAAAA", "BBBBBB" }, core::units::rgbColour(7, 8, 9), core::units::rgbColour(1, 1, 1) },
    };
    start();
    for (const Row &r : rows) {
        put(settings(), r.before);
        settings().ViewChange(r.argument);
        EXPECT_EQ(show(take(settings())), show(r.after)) << r.what;
        EXPECT_EQ(clock().Label1.ForeColor(), r.fore) << r.what;
        EXPECT_EQ(clock().Label1.BackColor(), r.back) << r.what;
    }
}

TEST_F(ViewChangeTest, PastedTextInADecimalBoxFallsBackToTheColourInForce)
{
    start();
    put(settings(), {"12", "34", "56", "0", "0", "0", "", ""});
    settings().ViewChange("num");
    ASSERT_EQ(clock().Label1.ForeColor(), core::units::rgbColour(12, 34, 56));
    // Text pasted from the context menu gets past the key filter.
    settings().ForRed.setTextFromCode("abc");
    settings().ForGreen.setTextFromCode("9z");
    settings().ViewChange("num");
    EXPECT_EQ(settings().ForRed.Text(), "12");
    EXPECT_EQ(settings().ForGreen.Text(), "9");
    EXPECT_EQ(settings().ForeHex.Text(), "0C0938");
    EXPECT_EQ(clock().Label1.ForeColor(), core::units::rgbColour(12, 9, 56));
}

TEST_F(ViewChangeTest, NumThenHexChangesNothingButLeadingZeros)
{
    start();
    put(settings(), {"007", "200", "015", "1", "2", "3", "", ""});
    settings().ViewChange("num");
    const core::units::Colour fore = clock().Label1.ForeColor();
    const core::units::Colour back = clock().Label1.BackColor();
    const QString foreHex = settings().ForeHex.Text();
    settings().ViewChange("hex");
    EXPECT_EQ(clock().Label1.ForeColor(), fore);
    EXPECT_EQ(clock().Label1.BackColor(), back);
    EXPECT_EQ(settings().ForeHex.Text(), foreHex);
    EXPECT_EQ(settings().ForRed.Text(), "7");
    EXPECT_EQ(settings().ForBlue.Text(), "15");
}

TEST_F(ViewChangeTest, LoadingTheWindowReordersTheColoursHexDigits)
{
    struct Row { core::units::Colour fore; core::units::Colour back; QString foreHex; QString backHex; };
    const std::vector<Row> rows = {
        {core::units::rgbColour(255, 0, 0), core::units::rgbColour(15, 0, 0), "FF0000", "0F0000"},
        {core::units::rgbColour(0, 192, 192), core::units::rgbColour(0, 0, 0), "00C0C0", "000000"},
        {core::units::rgbColour(0, 204, 238), core::units::rgbColour(0, 128, 128), "00CCEE", "008080"},
        {core::units::rgbColour(1, 2, 3), core::units::rgbColour(255, 255, 255), "010203", "FFFFFF"},
    };
    start();
    for (const Row &r : rows) {
        clock().Label1.setForeColor(r.fore);
        clock().Label1.setBackColor(r.back);
        settings().Unload();
        settle();
        ASSERT_FALSE(app->isFrmSettingLoaded());
        settings::FrmSetting &fresh = settings(); // created again, its load handler runs
        EXPECT_EQ(fresh.ForeHex.Text(), r.foreHex);
        EXPECT_EQ(fresh.BackHex.Text(), r.backHex);
        EXPECT_EQ(clock().Label1.ForeColor(), r.fore) << "the colours come out unchanged";
        EXPECT_EQ(clock().Label1.BackColor(), r.back);
        const auto red = static_cast<int>(r.fore & 0xFF);
        EXPECT_EQ(fresh.ForRed.Text(), QString::number(red));
    }
}
