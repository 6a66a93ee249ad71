// SPDX-License-Identifier: MIT
#include "analyser/talliowindow.h"

#include "analyser/historywindow.h"
#include "core/analysis/analysis.h"
#include "core/analysis/outcome.h"
#include "core/desktop/windowplacement.h"
#include "core/session/record.h"
#include "core/units/colour.h"
#include "core/units/twips.h"
#include "forms/fonts.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include <algorithm>

namespace analyser {
namespace {

constexpr core::units::Colour kLightGreen = 8454016; // red 128, green 255, blue 128
constexpr float kClientWidth = 4305;
constexpr float kClientHeight = 4380;
constexpr float kLabelLeft = 120;
constexpr float kLabelTop = 0;
constexpr float kLabelWidth = 3855;
constexpr float kLabelHeight = 4095;

} // namespace

Form1::Form1(QString logPath)
    : Label1(this, QStringLiteral("Calculating....."))
    , logPath_(std::move(logPath))
{
    setObjectName(QStringLiteral("Form1"));
    setCaption(QStringLiteral("Zemlo Analysis: Time spent"));
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);

    Label1.setObjectName(QStringLiteral("Label1"));
    Label1.setBackColor(0);
    Label1.setForeColor(kLightGreen);
    Label1.setFont(forms::fonts::font(QStringLiteral("Verdana"), 9.75));
    Label1.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1.setWordWrap(true);
    // Folder names from the file system end up in the caption: never let
    // them be taken for markup.
    Label1.setTextFormat(Qt::PlainText);
    Label1.setAccessibleDescription(QStringLiteral("Totals of the sessions logged in LogData.log"));
    // The report is all there is to read: holding the focus, it is what a
    // screen reader reads out as soon as the window comes up.
    Label1.setFocusPolicy(Qt::StrongFocus);
    setLabel1Size({kLabelWidth, kLabelHeight});

    // A right click or the Menu key on the report; the window takes the
    // keyboard so that the key reaches it.
    setFocusPolicy(Qt::StrongFocus);
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("reportMenu"));
    menu_->setAccessibleName(QStringLiteral("Report"));
    QAction *copy = menu_->addAction(QStringLiteral("&Copy report"), this, &Form1::copyReport);
    copy->setShortcut(QKeySequence::Copy);
    copy->setToolTip(QStringLiteral("Put the report on the clipboard"));
    historyAction_ = menu_->addAction(QStringLiteral("&History"), this, &Form1::showHistory);
    historyAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    historyAction_->setToolTip(QStringLiteral("Show the time per day, week or month as a chart and a table"));
    // The shortcuts work without the menu open too.
    addAction(copy);
    addAction(historyAction_);

    setWidth(kClientWidth);
    setHeight(kClientHeight);
    // The design leaves the place open; the middle of the screen is where a
    // window that is only read is easiest to find.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        setLeft(core::units::pixelsToTwips(area.x() + std::max(0, (area.width() - width()) / 2)));
        setTop(core::units::pixelsToTwips(area.y() + std::max(0, (area.height() - height()) / 2)));
    }
}

Form1::~Form1() = default;

void Form1::Form_Load()
{
    setLabel1Size(outerSize());
    const QString path = logPath_.isEmpty()
        ? QDir::current().absoluteFilePath(QString::fromLatin1(core::session::kDataLogFileName))
        : logPath_;
    days_.emplace(core::analysis::Period::Day);
    const core::analysis::Analysis analysis = core::analysis::analyseFile(path, &*days_);
    const core::analysis::Outcome outcome = core::analysis::outcome(analysis, path);
    setLabel1Caption(core::analysis::captionText(outcome));
    if (!outcome.complete()) {
        historyNote_ = analysis.totals
            ? QStringLiteral("The session log could not be read whole (the report window says why): these are "
                             "only the sessions of the whole records before the fault.")
            : QStringLiteral("The session log could not be read (the report window says why).");
        growToShowAll();
    }
    if (const QString away = core::analysis::awayProblem(analysis, path); !away.isEmpty())
        historyNote_ = historyNote_.isEmpty() ? away : historyNote_ + QLatin1Char(' ') + away;
}

void Form1::contextMenuEvent(QContextMenuEvent *event)
{
    // From the keyboard the menu opens at the report's top left corner.
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                  : Label1.mapToGlobal(QPoint(0, 0));
    menu_->popup(at);
    event->accept();
}

void Form1::copyReport()
{
    QString text = caption_;
    text.replace(QChar(13), QChar(10));
    QGuiApplication::clipboard()->setText(text);
}

void Form1::showHistory()
{
    if (!history_) {
        history_ = new HistoryWindow(
            days_ ? *days_ : core::analysis::History(core::analysis::Period::Day), historyNote_, this);
        history_->setAttribute(Qt::WA_DeleteOnClose);
        placeHistory();
    }
    history_->show();
    history_->raise();
    history_->activateWindow();
}

void Form1::placeHistory()
{
    // Beside the report, so that both can be read; on the report's screen.
    // Until it is shown the History window has no frame of its own: the
    // window manager frames it as it framed the report.
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect frame = frameGeometry();
    const QMargins margins(geometry().left() - frame.left(), geometry().top() - frame.top(),
                           frame.right() - geometry().right(), frame.bottom() - geometry().bottom());
    const QRect place = core::desktop::placeBeside(frame, history_->size().grownBy(margins),
                                                   history_->minimumSizeHint().grownBy(margins),
                                                   screen->availableGeometry());
    history_->resize(place.size().shrunkBy(margins));
    history_->move(place.topLeft());
}

void Form1::growToShowAll()
{
    // What went wrong comes before the report; at the design size the
    // report's end would be cut off, and with it what the user needs most.
    const QSizeF label = labelSizeFor(outerSize());
    const int needed = Label1.heightForWidth(core::units::twipsToPixels(label.width())) + core::units::twipsToPixels(120);
    if (needed <= height())
        return;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, needed, needed);
    // Leave room for a title bar the window manager adds.
    const int newHeight = std::min(needed, std::max(height(), area.height() - 60));
    setHeight(core::units::pixelsToTwips(newHeight));
    setTop(core::units::pixelsToTwips(area.y() + std::max(0, (area.height() - newHeight) / 2)));
}

void Form1::Form_Resize()
{
    lastOuterSize_ = outerSize();
    setLabel1Size(labelSizeFor(lastOuterSize_));
}

QSizeF Form1::labelSizeFor(QSizeF outer)
{
    return {std::max(0.0, outer.width() - 120 - 120), std::max(0.0, outer.height() - 30)};
}

QSizeF Form1::outerSize() const
{
    const QSize frame = frameGeometry().size();
    return {core::units::pixelsToTwips(frame.width()), core::units::pixelsToTwips(frame.height())};
}

void Form1::setLabel1Caption(const QString &caption)
{
    caption_ = caption;
    // A lone CR breaks the line in the report; Qt's label breaks on LF.
    QString shown = caption;
    shown.replace(QChar(13), QChar(10));
    Label1.setCaption(shown);
}

void Form1::setLabel1Size(QSizeF size)
{
    labelSize_ = size;
    Label1.setGeometry(core::units::twipsToPixels(kLabelLeft), core::units::twipsToPixels(kLabelTop),
        core::units::twipsToPixels(size.width()), core::units::twipsToPixels(size.height()));
}

void Form1::resizeEvent(QResizeEvent *event)
{
    forms::Form::resizeEvent(event);
    Form_Resize();
}

void Form1::moveEvent(QMoveEvent *event)
{
    forms::Form::moveEvent(event);
    // The window manager adds its frame after the window is first shown,
    // without resizing the window itself; the label follows the outer size.
    if (outerSize() != lastOuterSize_)
        Form_Resize();
}

} // namespace analyser
