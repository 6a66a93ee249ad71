// SPDX-License-Identifier: MIT
#include "settings/frmsetting.h"

#include "core/clock/pokemessages.h"
#include "core/text/numericentry.h"
#include "core/units/twips.h"
#include "forms/fonts.h"
#include "forms/placement.h"
#include "forms/tockapicture.h"
#include "links/clockface.h"
#include "links/tockawindows.h"
#include "platform/platform.h"

#include <QGroupBox>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <iterator>

namespace settings {

namespace {

constexpr float kClientWidth = 4065;
constexpr float kClientHeight = 7905;
// The grey the frames and the fade check boxes start from; fading moves them
// away from it and back.
const core::units::Colour kFrameColour = core::units::rgbColour(236, 233, 216);


// The settings window's icon: a small alarm clock, 24 x 22 pixels in the
// sixteen colours of the classic palette, drawn here so the program ships no
// image file.
QPixmap alarmClockPicture()
{
    static const char *const rows[] = {
        "                        ",
        "   rr              rr   ",
        "  rrrr            rrrr  ",
        " rrrr   kkkkkkkk   rrrr ",
        " rrr  kkwwwwwwwwkk  rrr ",
        "  r  kwwwwwkwwwwwwk  r  ",
        "    kwwwwwwkwwwwwwwk    ",
        "   kwwkwwwwkwwwwwkwwk   ",
        "   kwwwwwwwkwwwwwwwwk   ",
        "  kwwwwwwwwkwwwwwwwwwk  ",
        "  kwkwwwwwwkwwwwwwwkwk  ",
        "  kwwwwwwwwkkkkkkwwwwk  ",
        "  kwwwwwwwwwwwwwwwwwwk  ",
        "  kwkwwwwwwwwwwwwwwkwk  ",
        "   kwwwwwwwwwwwwwwwwk   ",
        "   kwwkwwwwwwwwwwkwwk   ",
        "    kwwwwwwkwwwwwwwk    ",
        "     kwwwwwwwwwwwwk     ",
        "      kkwwwwwwwwkk      ",
        "     kk kkkkkkkk kk     ",
        "    kk            kk    ",
        "                        ",
    };
    QImage image(24, 22, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 22; ++y) {
        for (int x = 0; x < 24; ++x) {
            switch (rows[y][x]) {
            case 'r':
                image.setPixel(x, y, qRgb(0xC0, 0, 0)); // maroon of the 16 colours
                break;
            case 'k':
                image.setPixel(x, y, qRgb(0, 0, 0));
                break;
            case 'w':
                image.setPixel(x, y, qRgb(0xFF, 0xFF, 0xFF));
                break;
            default:
                break;
            }
        }
    }
    return QPixmap::fromImage(image);
}

// Places a frame's title label over the caption the frame draws itself, and
// wide enough for its own bold text.
void coverCaption(QLabel &title, QGroupBox &frame)
{
    QStyleOptionGroupBox option;
    option.initFrom(&frame);
    option.text = frame.title();
    option.lineWidth = 1;
    option.textAlignment = frame.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    QRect caption = frame.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &frame);
    const int textWidth = QFontMetrics(title.font()).horizontalAdvance(title.text()) + title.indent() + 4;
    caption.setWidth(std::max(caption.width() + 2, textWidth));
    caption.setHeight(std::max(caption.height(), QFontMetrics(title.font()).height()));
    title.setGeometry(caption);
}

// The exit button is much taller than wide; its caption is set upright along
// it so it can be read.
class UprightCaption : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || event->type() != QEvent::Paint)
            return false;
        QStylePainter painter(button);
        QStyleOptionButton option;
        option.initFrom(button);
        option.features = QStyleOptionButton::None;
        if (button->isDown())
            option.state |= QStyle::State_Sunken;
        else
            option.state |= QStyle::State_Raised;
        painter.drawControl(QStyle::CE_PushButtonBevel, option);
        painter.translate(0, button->height());
        painter.rotate(-90);
        const QRect upright(0, 0, button->height(), button->width());
        painter.setPen(button->palette().color(button->isEnabled() ? QPalette::Active : QPalette::Disabled,
                                               QPalette::ButtonText));
        painter.drawText(upright, Qt::AlignCenter, button->text());
        return true;
    }
};

} // namespace

FrmSetting::FrmSetting(links::TockaWindows &app)
    // A window of its own in the task bar, not a dialog tied to a hidden one.
    : forms::Form(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , app_(app)
{
    setObjectName(QStringLiteral("FrmSetting"));
    setCaption(QStringLiteral("Zemlo Settings"));
    setBackColor(back_);
    chkOnTop.setBackColor(core::units::rgbColour(0, 192, 192));
    ChkClockFade.setEnabled(false);
    ChkClockFaceFade.setEnabled(false);
    ChkSettingFormFade.setEnabled(false);
    ChkSettingFrameFade.setEnabled(false);
    sizeWindow();
    styleControls();
    describeControls();
    // The controls' fonts and places wait for the window's first showing:
    // setting a font lays out the text it is set on, and that loads the
    // font's faces, which would otherwise stay in memory all the time the
    // clock runs with this window never opened.

    BunInt.onChange = [this] { BunInt_Change(); };
    chkOnTop.onClick = [this] { chkOnTop_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    TockaMode.onClick = [this] { TockaMode_Click(); };
    ChkFade.onClick = [this] { ChkFade_Click(); };
    SettingFormTimer.onTimer = [this] { SettingFormTimer_Timer(); };
    Image1.onClick = [this] { Image1_Click(); };

    // A poke before any fade or bounce tick has reseeded the generator still
    // answers differently from one start to the next.
    platform::Platform &platform = app_.platform();
    platform.randomize(platform.secondsSinceMidnight());
}

FrmSetting::~FrmSetting() = default;

void FrmSetting::setBackColor(core::units::Colour colour)
{
    back_ = colour;
    forms::setWidgetBackColor(*this, colour);
}

void FrmSetting::sizeWindow()
{
    // Fixed size, opening in the middle of the screen.
    const QSizeF screen = app_.platform().screenTwips();
    setWidth(kClientWidth);
    setHeight(kClientHeight);
    setLeft(std::max(0.0f, static_cast<float>(screen.width() - kClientWidth) / 2));
    setTop(std::max(0.0f, static_cast<float>(screen.height() - kClientHeight) / 2));
    setFixedSize(core::units::twipsToPixels(kClientWidth), core::units::twipsToPixels(kClientHeight));
}

void FrmSetting::styleControls()
{
    for (forms::FrameControl *frame : {&FrameColor, &FrameFade, &FrameBounce, &FrameAlarm})
        frame->setBackColor(kFrameColour);
    for (forms::CheckBoxControl *box :
         {&ChkFade, &ChkClockFade, &ChkClockFaceFade, &ChkSettingFormFade, &ChkSettingFrameFade})
        box->setBackColor(kFrameColour);
    for (forms::CheckBoxControl *box : {&TockaMode, &TockForceBreak})
        box->setAutoFillBackground(false);

    for (forms::LabelControl *title : {&LabelColor, &LabelFade, &LabelBounce, &LabelTocka}) {
        title->setBackColor(kFrameColour);
        title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        title->setIndent(6);
    }

    // Every other label reads on the frame's colour as it fades.
    for (forms::LabelControl *label : {&Label1, &Label2, &Label3, &Label4, &Label5, &Label10, &Label11, &Label12,
                                       &Label14, &Label15, &Label16, &Label6, &Label7, &Label8, &Label9, &Label13,
                                       &Label17, &Label18}) {
        label->setAutoFillBackground(false);
        label->setWordWrap(true);
    }

    Image1.setObjectName(QStringLiteral("Image1"));
    Image1.setPixmap(forms::tockaPicture(QSize(24, 22)));
    Image1.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1.setAutoFillBackground(false); // the picture sits on the window's colour
    Image1.setCursor(Qt::PointingHandCursor);
    setWindowIcon(QIcon(alarmClockPicture()));

    // The alarm starts stopped although its box shows ticked: say how to start it.
    WARN.setTextFromCode(QStringLiteral("The break alarm starts when \"Tock Enabled\" is ticked: untick it and tick it "
                                        "again. The seconds left until the next break then show here."));

    Command1.installEventFilter(new UprightCaption(&Command1));
}

void FrmSetting::showEvent(QShowEvent *event)
{
    if (!laidOut_) {
        laidOut_ = true;
        layOutControls();
    }
    forms::Form::showEvent(event);
}

void FrmSetting::layOutControls()
{
    const QFont boxFont = forms::fonts::font(QStringLiteral("Verdana"), 8.25);
    const QFont titleFont = forms::fonts::font(QStringLiteral("Verdana"), 8.25, true);
    setFont(forms::fonts::caption(8));

    forms::place(FrameColor, 90, 120, 1725, 2775);
    forms::place(FrameFade, 1890, 120, 2085, 2775);
    forms::place(FrameBounce, 1560, 3000, 2415, 1575);
    forms::place(FrameAlarm, 120, 4680, 3855, 1695);
    forms::place(chkOnTop, 120, 4200, 1410, 315);
    forms::place(Image1, 120, 3000, 1335, 1095);
    forms::place(WARN, 120, 6480, 3375, 1335);
    forms::place(Command1, 3600, 7080, 375, 735);

    // Each frame's title label lies over the frame's own caption, hiding it.
    const std::pair<forms::LabelControl *, forms::FrameControl *> titles[] = {
        {&LabelColor, &FrameColor}, {&LabelFade, &FrameFade}, {&LabelBounce, &FrameBounce}, {&LabelTocka, &FrameAlarm}};
    for (const auto &[title, frame] : titles) {
        title->setFont(titleFont);
        coverCaption(*title, *frame);
    }

    layOutColourScheme();
    layOutFade();
    layOutBounce();
    layOutAlarm();

    for (forms::TextBoxControl *box : {&ForRed, &ForGreen, &ForBlue, &BacRed, &BacGreen, &BacBlue, &ForeHex, &BackHex,
                                &BunInt, &BunXM, &BunYM})
        box->setFont(boxFont);

    WARN.setFont(forms::fonts::caption(8));
    Command1.setFont(forms::fonts::caption(7));
}

// Color Scheme: a column per colour, a row per component, then the two
// colours as hex.
void FrmSetting::layOutColourScheme()
{
    for (forms::LabelControl *head : {&Label1, &Label2, &Label11, &Label12})
        head->setAlignment(Qt::AlignCenter);
    Label10.setAlignment(Qt::AlignCenter);
    forms::place(Label1, 600, 330, 525, 225);
    forms::place(Label2, 1140, 330, 525, 225);
    const std::tuple<forms::LabelControl *, forms::TextBoxControl *, forms::TextBoxControl *, int> rows[] = {
        {&Label3, &ForRed, &BacRed, 600}, {&Label4, &ForGreen, &BacGreen, 960}, {&Label5, &ForBlue, &BacBlue, 1320}};
    for (const auto &[head, fore, back, top] : rows) {
        forms::place(*head, 90, top + 30, 510, 240);
        forms::place(*fore, 645, top, 435, 300);
        forms::place(*back, 1185, top, 435, 300);
    }
    forms::place(Label10, 60, 1740, 1605, 225);
    forms::place(Label11, 60, 2010, 525, 225);
    forms::place(ForeHex, 90, 2250, 735, 300);
    forms::place(Label12, 885, 2010, 780, 225);
    forms::place(BackHex, 915, 2250, 735, 300);
    Label11.setAlignment(Qt::AlignCenter);
}

// Colour Fade: three boxes, the master switch and its four targets.
void FrmSetting::layOutFade()
{
    const std::pair<forms::LabelControl *, forms::TextBoxControl *> fadeRows[] = {
        {&Label14, &FadeInterval}, {&Label15, &FadeMag}, {&Label16, &ContrastOffset}};
    int top = 330;
    for (const auto &[label, box] : fadeRows) {
        forms::place(*label, 90, top + 30, 1260, 240);
        forms::place(*box, 1380, top, 615, 300);
        top += 360;
    }
    forms::place(ChkFade, 90, 1440, 1905, 255);
    top = 1740;
    for (forms::CheckBoxControl *target :
        { &ChkClockFade, &ChkClockFaceFade, &ChkSettingFormFade, &ChkSettingFrameFade }) {
        forms::place(*target, 240, top, 1800, 240);
        top += 240;
    }
}

// Bounce: interval and the two steps.
void FrmSetting::layOutBounce()
{
    const std::pair<forms::LabelControl *, forms::TextBoxControl *> bounceRows[] = {
        {&Label6, &BunInt}, {&Label7, &BunXM}, {&Label8, &BunYM}};
    int top = 315;
    for (const auto &[label, box] : bounceRows) {
        forms::place(*label, 75, top + 30, 1620, 240);
        forms::place(*box, 1710, top, 630, 300);
        top += 390;
    }
}

// Alarm: the switch, then two columns of label and box.
void FrmSetting::layOutAlarm()
{
    forms::place(TockaMode, 120, 300, 1500, 255);
    forms::place(TockForceBreak, 1995, 300, 1500, 255);
    const std::tuple<forms::LabelControl *, forms::TextBoxControl *, int, int> alarmRows[] = {
        {&Label9, &AlarmInterval, 90, 630},
        {&Label13, &tockUntil, 90, 1080},
        {&Label17, &TockBreakLenth, 1995, 630},
        {&Label18, &TockaAlarmResolution, 1995, 1080},
    };
    for (const auto &[label, box, left, rowTop] : alarmRows) {
        forms::place(*label, left, rowTop + 30, 1170, 240);
        forms::place(*box, left + 1185, rowTop, 600, 300);
    }
}

void FrmSetting::describeControls()
{
    chkOnTop.setToolTip(QStringLiteral("Whether or not the clock face will be shown ontop of other programs."));
    Label6.setToolTip(QStringLiteral("Update Interval, in milliseconds the computer waits before updating the position "
                                     "of the clock on the screen. Use zero 0 to have bounce set to always off."));
    Label9.setToolTip(QStringLiteral("Time before Tock Break, in minutes"));
    Label18.setToolTip(
        QStringLiteral("How often the Until Tock is updated. Lower values uses more CPU. (2000 recommended)"));
    TockaAlarmResolution.setToolTip(
        QStringLiteral("How often the Until Tock is updated. Lower values uses more CPU.  (2000 recommended)"));
    Command1.setToolTip(QStringLiteral("Ends Tocka: logs this session and saves the settings."));

    setAccessibleName(Caption());

    // Labels are read as the text they show and check boxes by their
    // captions; the frames name themselves. A box is named by what a reader
    // sees beside it, and its label points at it.
    for (forms::CheckBoxControl *box : {&chkOnTop, &ChkFade, &ChkClockFade, &ChkClockFaceFade, &ChkSettingFormFade,
                                 &ChkSettingFrameFade, &TockaMode, &TockForceBreak})
        box->setAccessibleName(box->text());

    const std::tuple<forms::TextBoxControl *, QString, forms::LabelControl *> boxes[] = {
        {&ForRed, QStringLiteral("Fore G Red"), &Label3},
        {&ForGreen, QStringLiteral("Fore G Green"), &Label4},
        {&ForBlue, QStringLiteral("Fore G Blue"), &Label5},
        {&BacRed, QStringLiteral("Back G Red"), nullptr},
        {&BacGreen, QStringLiteral("Back G Green"), nullptr},
        {&BacBlue, QStringLiteral("Back G Blue"), nullptr},
        {&ForeHex, QStringLiteral("Colour Scheme Hex Fore G"), &Label11},
        {&BackHex, QStringLiteral("Colour Scheme Hex Back G"), &Label12},
        {&FadeInterval, Label14.text(), &Label14},
        {&FadeMag, Label15.text(), &Label15},
        {&ContrastOffset, Label16.text(), &Label16},
        {&BunInt, Label6.text(), &Label6},
        {&BunXM, Label7.text(), &Label7},
        {&BunYM, Label8.text(), &Label8},
        {&AlarmInterval, Label9.text(), &Label9},
        {&tockUntil, Label13.text(), &Label13},
        {&TockBreakLenth, Label17.text(), &Label17},
        {&TockaAlarmResolution, Label18.text(), &Label18},
    };
    for (const auto &[box, name, label] : boxes) {
        box->setAccessibleName(name);
        if (label)
            label->setBuddy(box);
        // A box without a tip of its own is described by its label's tip.
        const QString tip = !box->toolTip().isEmpty() ? box->toolTip() : label ? label->toolTip() : QString();
        box->setAccessibleDescription(tip);
    }
    for (QWidget *w : std::initializer_list<QWidget *>{&chkOnTop, &Label6, &Label9, &Label18, &Command1})
        w->setAccessibleDescription(w->toolTip());

    Image1.setAccessibleName(QStringLiteral("Tocka picture"));
    Image1.setAccessibleDescription(QStringLiteral("Poke it with a click, or with Space or Enter"));
    WARN.setAccessibleName(QStringLiteral("Break alarm note"));
    WARN.setAccessibleDescription(QStringLiteral("Shows the seconds left until the next break while the alarm runs"));
    Command1.setAccessibleName(Command1.text());

    // Tab goes panel by panel as the window reads, top to bottom and left to
    // right, through each panel's columns in turn; the exit button comes last.
    // The picture is among them: a poke is a key press away.
    Image1.setKeyboardClick(forms::LabelControl::KeyboardClick::AsButton);
    QWidget *const tabOrder[] = {&ForRed, &ForGreen, &ForBlue, &BacRed, &BacGreen, &BacBlue, &ForeHex, &BackHex,
                                 &FadeInterval, &FadeMag, &ContrastOffset, &ChkFade, &ChkClockFade, &ChkClockFaceFade,
                                 &ChkSettingFormFade, &ChkSettingFrameFade, &Image1, &BunInt, &BunXM, &BunYM,
                                 &chkOnTop, &TockaMode, &AlarmInterval, &tockUntil, &TockForceBreak, &TockBreakLenth,
                                 &TockaAlarmResolution, &WARN, &Command1};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void FrmSetting::Form_Load()
{
    links::ClockFace &clock = app_.form1();
    // A colour's own hex digits read blue, green, red; the boxes show red,
    // green, blue. Pad first, so that a colour without blue keeps its place.
    auto hexOf = [](core::units::Colour colour) -> QString {
        return core::text::Bin2Hex(core::text::Dec2Bin(colour)).rightJustified(6, QLatin1Char('0'));
    };
    auto toRedGreenBlue = [](const QString &bgr) -> QString { return bgr.mid(4, 2) + bgr.mid(2, 2) + bgr.mid(0, 2); };
    ForeHex.setTextFromCode(hexOf(clock.faceLabel().ForeColor()));
    BackHex.setTextFromCode(hexOf(clock.faceLabel().BackColor()));
    BackHex.setTextFromCode(toRedGreenBlue(BackHex.Text()));
    ForeHex.setTextFromCode(toRedGreenBlue(ForeHex.Text()));
    ViewChange(QStringLiteral("hex"));

    BunInt.setTextFromCode(QString::number(clock.bounceTimer().Interval()));
    BunXM.setTextFromCode(QString::number(clock.speedX()));
    BunYM.setTextFromCode(QString::number(clock.speedY()));
    FadeInterval.setTextFromCode(QString::number(SettingFormTimer.Interval()));
    if (core::text::numberOf(FadeMag.Text()).value_or(0) == 0) {
        FadeMag.setTextFromCode(QStringLiteral("20"));
        ActiveFadeMag = QStringLiteral("20");
    }
}

void FrmSetting::Form_Unload()
{
    links::ClockFace &clock = app_.form1();
    clock.storeAlwaysTop(chkOnTop.Value());
    clock.storeFadeSettings(fadeSettingsShown());
}

links::FadeSettings FrmSetting::fadeSettingsShown() const
{
    // What the user sees in the fade boxes, in a form the next start can
    // read: a box left holding pasted text stands for the value in force.
    auto shown = [](const forms::TextBoxControl &box, double inForce) {
        return core::text::numberOf(box.Text()) ? box.Text() : core::text::boxText(inForce);
    };
    links::FadeSettings seen;
    seen.FadeInterval = shown(FadeInterval, SettingFormTimer.Interval());
    seen.FadeMagnitude = shown(FadeMag, core::text::numberOf(ActiveFadeMag).value_or(20));
    seen.ContrastOffset = shown(ContrastOffset, ActiveContrastOffset);
    seen.AllowFading = ChkFade.Value();
    seen.ClockBackFade = ChkClockFade.Value();
    seen.ClockFrontFade = ChkClockFaceFade.Value();
    seen.SettingFormFade = ChkSettingFormFade.Value();
    seen.SettingFrameFade = ChkSettingFrameFade.Value();
    return seen;
}

void FrmSetting::chkOnTop_Click()
{
    const int value = chkOnTop.Value();
    if (value == 2)
        return;
    app_.form1().keepAbove(value == 1);
}

void FrmSetting::Command1_Click()
{
    Unload();
    // The clock window's unload handler logs the session and saves the
    // settings; once it is gone the program ends.
    if (app_.isForm1Loaded())
        app_.form1().window().Unload();
}

void FrmSetting::Image1_Click()
{
    platform::Platform &platform = app_.platform();
    const int pokeNumber = core::clock::pokeNumberFromDraw(platform.rnd());
    if (pokeNumber == 1)
        app_.showAbout(this);
    else
        PokeMessage = core::clock::pokeMessage(pokeNumber);
    platform.messageBox(PokeMessage, links::TockaWindows::title());
}

} // namespace settings
