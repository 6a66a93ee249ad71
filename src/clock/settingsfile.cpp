// SPDX-License-Identifier: MIT
// The clock window's settings file, LogSetin.ini: read at start-up into the
// controls and variables that hold the settings while Tocka runs, written
// back from them at exit. Every key of [Settings] is one row of the table
// below; time away from the computer has a section of its own, [Away].

#include "clock/form1.h"

#include "core/settings/inifile.h"
#include "core/settings/settingsfolder.h"
#include "core/text/numbers.h"
#include "core/text/numericentry.h"
#include "core/text/regional.h"
#include "forms/checkboxcontrol.h"
#include "forms/textboxcontrol.h"
#include "links/settingspanel.h"
#include "links/tockawindows.h"
#include "platform/platform.h"

#include <QFileInfo>

#include <array>
#include <cstdio>
#include <optional>

namespace clockwindow {

namespace {

const QString kSection = QStringLiteral("Settings");
// What a missing key reads as; only this exact text counts as missing, the
// same words in other letter case are a value like any other.
const QString kNoValue = QStringLiteral("<no value>");

// ---- How a value is read: its text when it can be what the key holds ----

using Value = std::optional<QString>;

// X11 places windows within 16-bit pixel coordinates; a saved position beyond
// that is no place on any screen, only a damaged file.
constexpr double kFarthestTwips = 32767.0 * 15.0;

Value anyText(const QString &text)
{
    return text;
}

Value number(const QString &text)
{
    return core::text::numberOf(text) ? Value(text) : std::nullopt;
}

Value shortWhole(const QString &text)
{
    const auto v = core::text::numberOf(text);
    const auto whole = v ? core::text::toInt16(*v) : std::nullopt;
    return whole ? Value(QString::number(*whole)) : std::nullopt;
}

Value whole(const QString &text)
{
    const auto v = core::text::numberOf(text);
    const auto w = v ? core::text::toInt32(*v) : std::nullopt;
    return w ? Value(QString::number(*w)) : std::nullopt;
}

Value position(const QString &text)
{
    const auto v = core::text::numberOf(text);
    if (!v || *v < -kFarthestTwips || *v > kFarthestTwips)
        return std::nullopt;
    return text;
}

// A hex colour text as the box takes it: up to six hex digits.
bool isColourHex(const QString &text)
{
    return text.size() <= 6 && core::text::isHexText(text);
}

Value colourHex(const QString &text)
{
    return isColourHex(text) ? Value(text) : std::nullopt;
}

float positionOf(const QString &text)
{
    return static_cast<float>(core::text::numberOf(text).value_or(0));
}

QString redGreenBlueHex(core::units::Colour colour)
{
    const auto u = static_cast<std::uint32_t>(colour);
    const std::uint32_t rgb = ((u & 0xFF) << 16) | (u & 0xFF00) | ((u >> 16) & 0xFF);
    return QString::number(rgb, 16).toUpper().rightJustified(6, QLatin1Char('0'));
}

// ---- Where values go and come from ----

struct Context
{
    Context(Form1 &c, links::TockaWindows &a)
        : clock(c)
        , app(a)
    {
    }

    Form1 &clock;
    links::TockaWindows &app;
    // The settings window is created, hidden, by its first use.
    links::SettingsPanel &settings() { return app.FrmSetting(); }

    // At exit: the fade settings the user last saw. A settings window that
    // was re-created out of the user's sight shows design-time values, so
    // what it showed when it closed stands instead.
    const links::FadeSettings &fade()
    {
        if (!fade_) {
            links::SettingsPanel &s = settings();
            fade_ = clock.LastFadeSettings && !s.window().isVisible() ? *clock.LastFadeSettings : s.fadeSettingsShown();
        }
        return *fade_;
    }

private:
    std::optional<links::FadeSettings> fade_;
};

void setText(forms::TextBoxControl &box, const Value &v)
{
    if (v)
        box.setTextFromCode(*v);
}

void setCheck(forms::CheckBoxControl &box, const Value &v)
{
    if (v)
        box.setValue(v->toInt()); // values other than 0, 1 and 2 are refused
}

struct Row
{
    const char *key;
    // What a key missing from the file stands for; nothing: missing.
    const char *missing;
    // Reads the file's text; nothing when it cannot be what the key holds,
    // which is then treated as missing.
    Value (*read)(const QString &text);
    // Puts the value in force; the row says what becomes of a value that is
    // missing or unreadable (a default, or the design value left as it is).
    void (*apply)(Context &, const Value &);
    QString (*save)(Context &);
};

// In slot order, as the file has always had them. Loading walks it top to
// bottom, so Allow Fading is applied before its four targets (its click
// handler enables them) and both hex colours before they are shown.
const std::array<Row, 18> kRows = {{
    {"SettingVersion", nullptr, anyText, [](Context &c, const Value &v) { c.clock.SettingVersion = v.value_or(QStringLiteral("2.0")); },
     [](Context &c) { return c.clock.SettingVersion; }},
    {"ColourMode", nullptr, shortWhole, [](Context &c, const Value &v) { c.clock.ColourMode = static_cast<std::int16_t>(v ? v->toInt() : 0); },
     [](Context &c) { return QString::number(c.clock.ColourMode); }},
    {"WindowSizeMode", nullptr, anyText, [](Context &c, const Value &v) { c.clock.WindowSizeMode = v.value_or(QStringLiteral("BIG")); },
     [](Context &c) { return c.clock.WindowSizeMode; }},
    // X is the vertical axis: the top of the window.
    {"Form1_X", nullptr, position, [](Context &c, const Value &v) { c.clock.setTop(v ? positionOf(*v) : 0); },
     [](Context &c) { return core::text::singleText(c.clock.Top(), core::text::decimalPoint()); }},
    // Without a saved place the window sits at the top, its right edge 20
    // twips from the right edge of the screen.
    {"Form1_Y", nullptr, position,
     [](Context &c, const Value &v) {
         const float screenWidth = static_cast<float>(c.app.platform().screenTwips(&c.clock).width());
         c.clock.setLeft(v ? positionOf(*v) : screenWidth - c.clock.Width() - 20);
     },
     [](Context &c) { return core::text::singleText(c.clock.Left(), core::text::decimalPoint()); }},
    // The face's colours are saved for other programs to read; at start-up
    // the hex colours below set them.
    {"Label1_ForeColour", nullptr, anyText, [](Context &, const Value &) {},
     [](Context &c) { return QString::number(c.clock.Label1.ForeColor()); }},
    {"Label1_BackColour", nullptr, anyText, [](Context &, const Value &) {},
     [](Context &c) { return QString::number(c.clock.Label1.BackColor()); }},
    {"FadeInterval", nullptr, number, [](Context &c, const Value &v) { setText(c.settings().fadeIntervalBox(), v); },
     [](Context &c) { return c.fade().FadeInterval; }},
    {"FadeMagnitude", nullptr, number, [](Context &c, const Value &v) { setText(c.settings().fadeMagnitudeBox(), v); },
     [](Context &c) { return c.fade().FadeMagnitude; }},
    {"ContrastOffset", nullptr, number, [](Context &c, const Value &v) { setText(c.settings().contrastOffsetBox(), v); },
     [](Context &c) { return c.fade().ContrastOffset; }},
    {"AllowFading", nullptr, whole, [](Context &c, const Value &v) { setCheck(c.settings().allowFadingBox(), v); },
     [](Context &c) { return QString::number(c.fade().AllowFading); }},
    {"ClockBackFade", nullptr, whole, [](Context &c, const Value &v) { setCheck(c.settings().clockBackFadeBox(), v); },
     [](Context &c) { return QString::number(c.fade().ClockBackFade); }},
    {"ClockFrontFade", nullptr, whole, [](Context &c, const Value &v) { setCheck(c.settings().clockFrontFadeBox(), v); },
     [](Context &c) { return QString::number(c.fade().ClockFrontFade); }},
    {"SettingFormFade", nullptr, whole, [](Context &c, const Value &v) { setCheck(c.settings().settingFormFadeBox(), v); },
     [](Context &c) { return QString::number(c.fade().SettingFormFade); }},
    {"SettingFrameFade", nullptr, whole, [](Context &c, const Value &v) { setCheck(c.settings().settingFrameFadeBox(), v); },
     [](Context &c) { return QString::number(c.fade().SettingFrameFade); }},
    // A hex box left holding pasted text is saved as the colour in force.
    {"ForeColorHex", nullptr, colourHex,
     [](Context &c, const Value &v) { c.settings().foreHexBox().setTextFromCode(v.value_or(QStringLiteral("00CCEE"))); },
     [](Context &c) {
         const QString hex = c.settings().foreHexBox().Text();
         return isColourHex(hex) ? hex : redGreenBlueHex(c.clock.Label1.ForeColor());
     }},
    {"BackColorHex", nullptr, colourHex,
     [](Context &c, const Value &v) {
         c.settings().backHexBox().setTextFromCode(v.value_or(QStringLiteral("008080")));
         c.settings().ViewChange(QStringLiteral("hex"));
     },
     [](Context &c) {
         const QString hex = c.settings().backHexBox().Text();
         return isColourHex(hex) ? hex : redGreenBlueHex(c.clock.Label1.BackColor());
     }},
    // Until the settings window has closed once, the choice in force is the
    // one in its box; an empty value would lose it at the next start.
    {"AlwaysOnTop", "1", whole,
     [](Context &c, const Value &v) {
         setCheck(c.settings().onTopBox(), v);
         c.settings().chkOnTop_Click();
     },
     [](Context &c) { return QString::number(c.clock.AlwaysTop.value_or(c.settings().onTopBox().Value())); }},
}};

void warn(const QString &message)
{
    std::fprintf(stderr, "tocka: %s\n", qPrintable(message));
}

// [Away]: IdleMinutes, after how long without input the time counts as idle
// (a fraction is fine, 0 counts no idle time), a line the user adds by hand
// and that is kept as it is; CountTimeAway, the tray's check item, written
// only once it is switched off (or is in the file already), so a file that
// never had the section does not gain it.
const QString kAwaySection = QStringLiteral("Away");
const QString kIdleMinutesKey = QStringLiteral("IdleMinutes");
const QString kCountKey = QStringLiteral("CountTimeAway");
constexpr double kDefaultIdleMinutes = 5;

void loadAway(const core::settings::IniFile &ini, Form1 &clock)
{
    if (const std::optional<QString> text = ini.value(kAwaySection, kIdleMinutesKey)) {
        const std::optional<double> minutes = core::text::parseNumber(*text);
        // Longer than a year of minutes is no threshold anyone means.
        if (minutes && *minutes >= 0 && *minutes <= 525600) {
            clock.setIdleMinutes(*minutes);
        } else {
            warn(QStringLiteral("[Away] IdleMinutes=%1 is not a number of minutes from 0 up; idle time counts after "
                                "%2 minutes")
                     .arg(*text)
                     .arg(kDefaultIdleMinutes));
        }
    }
    if (const std::optional<QString> text = ini.value(kAwaySection, kCountKey))
        clock.setCountingAway(text->trimmed() != QLatin1String("0"));
}

void saveAway(core::settings::IniFile &ini, const Form1 &clock)
{
    if (!clock.countingAway() || ini.value(kAwaySection, kCountKey))
        ini.setValue(kAwaySection, kCountKey, clock.countingAway() ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace

void Form1::LoadSettings()
{
    const core::settings::Location where = core::settings::locate(app_.platform().programFolder());
    core::settings::IniFile ini;
    QString error;
    if (!ini.load(where.readPath, &error))
        warn(error + QStringLiteral("; starting with the default settings"));

    // Every value is read before any is applied.
    std::array<Value, kRows.size()> values;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row &row = kRows[i];
        const QString text = ini.profileString(kSection, QString::fromLatin1(row.key), kNoValue);
        if (text != kNoValue)
            values[i] = row.read(text);
        else if (row.missing)
            values[i] = QString::fromLatin1(row.missing);
    }
    Context context{*this, app_};
    for (std::size_t i = 0; i < kRows.size(); ++i)
        kRows[i].apply(context, values[i]);
    loadAway(ini, *this);
}

void Form1::SaveSettings()
{
    const core::settings::Location where = core::settings::locate(app_.platform().programFolder());
    Context context{*this, app_};
    std::array<QString, kRows.size()> values;
    for (std::size_t i = 0; i < kRows.size(); ++i)
        values[i] = kRows[i].save(context);

    // Start from the file as it is now, so that whatever else it holds stays;
    // an installed copy saving for the first time starts from the file
    // shipped beside it.
    core::settings::IniFile ini;
    QString error;
    const QString base = QFileInfo::exists(where.writePath) ? where.writePath : where.readPath;
    if (!ini.load(base, &error)) {
        if (base == where.writePath) {
            warn(error + QStringLiteral("; the settings of this session are not saved"));
            return;
        }
        ini = core::settings::IniFile();
    }
    for (std::size_t i = 0; i < kRows.size(); ++i)
        ini.setValue(kSection, QString::fromLatin1(kRows[i].key), values[i]);
    saveAway(ini, *this);
    if (!ini.save(where.writePath, &error))
        warn(error + QStringLiteral("; the settings of this session are not saved"));
}

} // namespace clockwindow
