// The clock window's settings file: loaded at start-up, saved at exit.

#include "form1.h"

#include "frmsetting.h"
#include "inifile.h"
#include "numbers.h"
#include "numericentry.h"
#include "platform.h"
#include "regional.h"
#include "settingsfolder.h"
#include "tockaapp.h"

#include <QFileInfo>

#include <array>
#include <cstdio>

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kNoValue = QStringLiteral("<no value>");

// Slot numbers as the file has always had them; slot 0 is never used.
enum Slot {
    kSettingVersion = 1,
    kColourMode,
    kWindowSizeMode,
    kForm1X,
    kForm1Y,
    kLabel1ForeColour,
    kLabel1BackColour,
    kFadeInterval,
    kFadeMagnitude,
    kContrastOffset,
    kAllowFading,
    kClockBackFade,
    kClockFrontFade,
    kSettingFormFade,
    kSettingFrameFade,
    kForeColorHex,
    kBackColorHex,
    kAlwaysOnTop,
    kSlotCount
};

const std::array<QString, kSlotCount> kKeys = {
    QString(),
    QStringLiteral("SettingVersion"),
    QStringLiteral("ColourMode"),
    QStringLiteral("WindowSizeMode"),
    QStringLiteral("Form1_X"),
    QStringLiteral("Form1_Y"),
    QStringLiteral("Label1_ForeColour"),
    QStringLiteral("Label1_BackColour"),
    QStringLiteral("FadeInterval"),
    QStringLiteral("FadeMagnitude"),
    QStringLiteral("ContrastOffset"),
    QStringLiteral("AllowFading"),
    QStringLiteral("ClockBackFade"),
    QStringLiteral("ClockFrontFade"),
    QStringLiteral("SettingFormFade"),
    QStringLiteral("SettingFrameFade"),
    QStringLiteral("ForeColorHex"),
    QStringLiteral("BackColorHex"),
    QStringLiteral("AlwaysOnTop"),
};

// X11 places windows within 16-bit pixel coordinates; a saved position beyond
// that is no place on any screen, only a damaged file.
constexpr double kFarthestTwips = 32767.0 * 15.0;

std::optional<float> positionOf(const QString &text)
{
    const auto v = numericentry::numberOf(text);
    if (!v || *v < -kFarthestTwips || *v > kFarthestTwips)
        return std::nullopt;
    return static_cast<float>(*v);
}

std::optional<int> wholeNumberOf(const QString &text)
{
    const auto v = numericentry::numberOf(text);
    if (!v)
        return std::nullopt;
    return num::toInt32(*v);
}

// A hex colour text as the box takes it: up to six hex digits.
bool isColourHex(const QString &text)
{
    return text.size() <= 6 && numericentry::isHexText(text);
}

QString redGreenBlueHex(Colour colour)
{
    const auto u = static_cast<std::uint32_t>(colour);
    const std::uint32_t rgb = ((u & 0xFF) << 16) | (u & 0xFF00) | ((u >> 16) & 0xFF);
    return QString::number(rgb, 16).toUpper().rightJustified(6, QLatin1Char('0'));
}

void warn(const QString &message)
{
    std::fprintf(stderr, "tocka: %s\n", qPrintable(message));
}

} // namespace

void Form1::LoadSettings()
{
    const settingsfolder::Location where = settingsfolder::locate(app_.platform());
    IniFile ini;
    QString error;
    if (!ini.load(where.readPath, &error))
        warn(error + QStringLiteral("; starting with the default settings"));

    std::array<QString, kSlotCount> values;
    for (int slot = 1; slot < kSlotCount; ++slot)
        values[slot] = ini.profileString(kSection, kKeys[slot], kNoValue);
    // Only the exact text counts as missing; the same words in other letter
    // case are a value like any other.
    auto present = [&](int slot) { return values[slot] != kNoValue; };

    // A value that cannot be what its key holds (a number where a number
    // belongs) is treated as missing, so the window keeps what it would have
    // without the file.
    SettingVersion = present(kSettingVersion) ? values[kSettingVersion] : QStringLiteral("2.0");
    ColourMode = 0;
    if (present(kColourMode)) {
        if (const auto v = numericentry::numberOf(values[kColourMode]))
            ColourMode = num::toInt16(*v).value_or(0);
    }
    WindowSizeMode = present(kWindowSizeMode) ? values[kWindowSizeMode] : QStringLiteral("BIG");
    const auto top = present(kForm1X) ? positionOf(values[kForm1X]) : std::nullopt;
    setTop(top.value_or(0));
    // Without a saved place the window sits at the top, its right edge 20
    // twips from the right edge of the screen.
    const auto left = present(kForm1Y) ? positionOf(values[kForm1Y]) : std::nullopt;
    setLeft(left ? *left : static_cast<float>(app_.platform().screenTwips(this).width()) - Width() - 20);

    FrmSetting &settings = app_.FrmSetting();
    const std::pair<int, TextBoxControl *> fadeTexts[] = {
        {kFadeInterval, &settings.FadeInterval},
        {kFadeMagnitude, &settings.FadeMag},
        {kContrastOffset, &settings.ContrastOffset},
    };
    for (const auto &[slot, box] : fadeTexts) {
        if (present(slot) && numericentry::numberOf(values[slot]))
            box->setTextFromCode(values[slot]);
    }
    // Allow Fading first: its click handler enables the four targets.
    const std::pair<int, CheckBoxControl *> fadeChecks[] = {
        {kAllowFading, &settings.ChkFade},
        {kClockBackFade, &settings.ChkClockFade},
        {kClockFrontFade, &settings.ChkClockFaceFade},
        {kSettingFormFade, &settings.ChkSettingFormFade},
        {kSettingFrameFade, &settings.ChkSettingFrameFade},
    };
    for (const auto &[slot, box] : fadeChecks) {
        if (!present(slot))
            continue;
        if (const auto v = wholeNumberOf(values[slot]))
            box->setValue(*v); // values other than 0, 1 and 2 are refused
    }
    const std::tuple<int, TextBoxControl *, QString> hexes[] = {
        {kForeColorHex, &settings.ForeHex, QStringLiteral("00CCEE")},
        {kBackColorHex, &settings.BackHex, QStringLiteral("008080")},
    };
    for (const auto &[slot, box, fallback] : hexes)
        box->setTextFromCode(present(slot) && isColourHex(values[slot]) ? values[slot] : fallback);

    settings.ViewChange(QStringLiteral("hex"));

    if (!present(kAlwaysOnTop))
        settings.chkOnTop.setValue(1);
    else if (const auto v = wholeNumberOf(values[kAlwaysOnTop]))
        settings.chkOnTop.setValue(*v);
    settings.chkOnTop_Click();
}

void Form1::SaveSettings()
{
    const settingsfolder::Location where = settingsfolder::locate(app_.platform());
    std::array<QString, kSlotCount> values;
    const QChar point = regional::decimalPoint();

    values[kSettingVersion] = SettingVersion;
    values[kColourMode] = QString::number(ColourMode);
    values[kWindowSizeMode] = WindowSizeMode;
    values[kForm1X] = num::singleText(Top(), point);
    values[kForm1Y] = num::singleText(Left(), point);
    values[kLabel1ForeColour] = QString::number(Label1.ForeColor());
    values[kLabel1BackColour] = QString::number(Label1.BackColor());

    // Reading the settings window creates it again when it was closed. A
    // window that was re-created out of the user's sight shows design-time
    // fade values, not the ones the user last saw when it closed.
    FrmSetting &settings = app_.FrmSetting();
    FadeSettings fade;
    if (LastFadeSettings && !settings.isVisible()) {
        fade = *LastFadeSettings;
    } else {
        auto shown = [](const TextBoxControl &box, double inForce) {
            return numericentry::numberOf(box.Text()) ? box.Text() : numericentry::numberText(inForce);
        };
        fade.FadeInterval = shown(settings.FadeInterval, settings.SettingFormTimer.Interval());
        fade.FadeMagnitude = shown(settings.FadeMag, numericentry::numberOf(settings.ActiveFadeMag).value_or(20));
        fade.ContrastOffset = shown(settings.ContrastOffset, settings.ActiveContrastOffset);
        fade.AllowFading = settings.ChkFade.Value();
        fade.ClockBackFade = settings.ChkClockFade.Value();
        fade.ClockFrontFade = settings.ChkClockFaceFade.Value();
        fade.SettingFormFade = settings.ChkSettingFormFade.Value();
        fade.SettingFrameFade = settings.ChkSettingFrameFade.Value();
    }
    values[kFadeInterval] = fade.FadeInterval;
    values[kFadeMagnitude] = fade.FadeMagnitude;
    values[kContrastOffset] = fade.ContrastOffset;
    values[kAllowFading] = QString::number(fade.AllowFading);
    values[kClockBackFade] = QString::number(fade.ClockBackFade);
    values[kClockFrontFade] = QString::number(fade.ClockFrontFade);
    values[kSettingFormFade] = QString::number(fade.SettingFormFade);
    values[kSettingFrameFade] = QString::number(fade.SettingFrameFade);

    // A hex box left holding pasted text is saved as the colour in force.
    const QString foreHex = settings.ForeHex.Text();
    const QString backHex = settings.BackHex.Text();
    values[kForeColorHex] = isColourHex(foreHex) ? foreHex : redGreenBlueHex(Label1.ForeColor());
    values[kBackColorHex] = isColourHex(backHex) ? backHex : redGreenBlueHex(Label1.BackColor());

    // Until the settings window has closed once, the choice in force is the
    // one in its box; an empty value would lose it at the next start.
    values[kAlwaysOnTop] = QString::number(AlwaysTop.value_or(settings.chkOnTop.Value()));

    // Start from the file as it is now, so that whatever else it holds stays;
    // an installed copy saving for the first time starts from the file
    // shipped beside it.
    IniFile ini;
    QString error;
    const QString base = QFileInfo::exists(where.writePath) ? where.writePath : where.readPath;
    if (!ini.load(base, &error)) {
        if (base == where.writePath) {
            warn(error + QStringLiteral("; the settings of this session are not saved"));
            return;
        }
        ini = IniFile();
    }
    for (int slot = 1; slot < kSlotCount; ++slot)
        ini.setValue(kSection, kKeys[slot], values[slot]);
    if (!ini.save(where.writePath, &error))
        warn(error + QStringLiteral("; the settings of this session are not saved"));
}
