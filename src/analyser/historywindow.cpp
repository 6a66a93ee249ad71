// SPDX-License-Identifier: MIT
#include "analyser/historywindow.h"

#include "core/analysis/historyformat.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace analyser {
namespace {

const QColor kBackground = Qt::black;
// At the computer: solid and light; away: dark, hatched. They differ in
// lightness and in pattern, not in hue alone, so that no kind of colour
// blindness makes one of the other.
const QColor kBar(128, 255, 128); // the report's light green
const QColor kCurrentBar(255, 255, 160);
const QColor kAwayFill(25, 45, 110);
const QColor kAwayHatch(150, 190, 255);
const QColor kCurrentAwayFill(90, 80, 20);
const QColor kAxis(150, 150, 150);
const QColor kGrid(60, 60, 60);
const QColor kText(200, 255, 200);

constexpr int kMinPitch = 4;
constexpr int kMaxPitch = 48;
constexpr int kLeftMargin = 64;
constexpr int kTopMargin = 32;
constexpr int kRightMargin = 12;
constexpr int kBottomMargin = 40;

QString isoText(const QDate &d)
{
    return d.toString(Qt::ISODate);
}

QString periodWord(core::analysis::Period by, bool plural)
{
    switch (by) {
    case core::analysis::Period::Week:
        return plural ? QStringLiteral("weeks") : QStringLiteral("week");
    case core::analysis::Period::Month:
        return plural ? QStringLiteral("months") : QStringLiteral("month");
    case core::analysis::Period::Day:
        break;
    }
    return plural ? QStringLiteral("days") : QStringLiteral("day");
}

// One part of a bar, or a legend's swatch.
void fillPart(QPainter &painter, const QRect &rect, bool away, bool current)
{
    if (rect.isEmpty())
        return;
    if (!away) {
        painter.fillRect(rect, current ? kCurrentBar : kBar);
        return;
    }
    painter.fillRect(rect, current ? kCurrentAwayFill : kAwayFill);
    painter.fillRect(rect, QBrush(current ? kCurrentBar : kAwayHatch, Qt::BDiagPattern));
}

// The part of a period's time spent at the computer: its seconds less the
// time away, never below nothing.
std::int64_t atTheComputer(const core::analysis::HistoryRow &r)
{
    return std::clamp<std::int64_t>(r.seconds - r.away, 0, std::max<std::int64_t>(r.seconds, 0));
}

} // namespace

// ---- the legend ----

LegendLabel::LegendLabel(const QString &text, bool away, QWidget *parent)
    : QLabel(text, parent)
    , away_(away)
{
    setTextFormat(Qt::PlainText);
    // Room for the swatch before the text.
    setIndent(swatchSize() + 6);
}

int LegendLabel::swatchSize() const
{
    return fontMetrics().height() - 2;
}

void LegendLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    const int size = swatchSize();
    const QRect swatch(contentsRect().left(), contentsRect().center().y() - size / 2, size, size);
    fillPart(painter, swatch, away_, false);
    painter.setPen(kAxis);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

// ---- the table ----

void HistoryModel::setRows(std::vector<core::analysis::HistoryRow> rows, core::analysis::Period by)
{
    beginResetModel();
    rows_ = std::move(rows);
    by_ = by;
    endResetModel();
}

QString HistoryModel::periodText(int row) const
{
    const QDate start = rows_.at(static_cast<std::size_t>(row)).period;
    switch (by_) {
    case core::analysis::Period::Week:
        return QStringLiteral("week of ") + isoText(start);
    case core::analysis::Period::Month:
        return start.toString(QStringLiteral("yyyy-MM"));
    case core::analysis::Period::Day:
        break;
    }
    return isoText(start);
}

QString HistoryModel::rowText(int row) const
{
    const core::analysis::HistoryRow &r = rows_.at(static_cast<std::size_t>(row));
    return QStringLiteral("%1: %2 %3, %4: %5 at the computer, %6 away")
        .arg(periodText(row))
        .arg(r.sessions)
        .arg(r.sessions == 1 ? QStringLiteral("session") : QStringLiteral("sessions"),
             core::analysis::clockText(r.seconds), core::analysis::clockText(atTheComputer(r)),
             core::analysis::clockText(r.away));
}

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const core::analysis::HistoryRow &r = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        switch (index.column()) {
        case 0:
            return periodText(index.row());
        case 1:
            return QString::number(r.sessions);
        case 2:
            return core::analysis::clockText(r.seconds);
        default:
            return core::analysis::clockText(r.away);
        }
    }
    if (role == Qt::ToolTipRole)
        return rowText(index.row());
    if (role == Qt::TextAlignmentRole && index.column() > 0)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case 0:
        switch (by_) {
        case core::analysis::Period::Week:
            return QStringLiteral("Week (from Monday)");
        case core::analysis::Period::Month:
            return QStringLiteral("Month");
        case core::analysis::Period::Day:
            break;
        }
        return QStringLiteral("Day");
    case 1:
        return QStringLiteral("Sessions");
    case 2:
        return QStringLiteral("Time");
    default:
        return QStringLiteral("Away");
    }
}

// ---- the chart ----

HistoryChart::HistoryChart(HistoryModel &model, QWidget *parent)
    : QAbstractScrollArea(parent)
    , model_(model)
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(true);
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Window, kBackground);
    p.setColor(QPalette::Base, kBackground);
    viewport()->setPalette(p);
    setMinimumSize(320, 150);
    connect(&model_, &QAbstractItemModel::modelReset, this, &HistoryChart::modelReset);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

void HistoryChart::modelReset()
{
    maxSeconds_ = 0;
    minSeconds_ = 0;
    for (const core::analysis::HistoryRow &r : model_.rows()) {
        maxSeconds_ = std::max(maxSeconds_, r.seconds);
        minSeconds_ = std::min(minSeconds_, r.seconds);
    }
    current_ = -1;
    updateScrollBar();
    viewport()->update();
}

QRect HistoryChart::plotArea() const
{
    return viewport()->rect().adjusted(kLeftMargin, kTopMargin, -kRightMargin, -kBottomMargin);
}

int HistoryChart::barPitch() const
{
    const int n = model_.rowCount();
    if (n == 0)
        return kMaxPitch;
    // Few bars spread over the width; many keep a readable minimum and scroll.
    return std::clamp(plotArea().width() / n, kMinPitch, kMaxPitch);
}

void HistoryChart::updateScrollBar()
{
    const int content = model_.rowCount() * barPitch();
    horizontalScrollBar()->setRange(0, std::max(0, content - plotArea().width()));
    horizontalScrollBar()->setPageStep(plotArea().width());
    horizontalScrollBar()->setSingleStep(barPitch());
}

void HistoryChart::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
    // The bars change width with the window: the current one stays in view.
    keepCurrentInView();
}

int HistoryChart::rowAt(QPoint p) const
{
    const QRect plot = plotArea();
    if (p.x() < plot.left() || p.x() > plot.right() || p.y() < plot.top() || p.y() > plot.bottom() + kBottomMargin)
        return -1;
    const int row = (p.x() - plot.left() + horizontalScrollBar()->value()) / barPitch();
    return row < model_.rowCount() ? row : -1;
}

void HistoryChart::setCurrentRow(int row)
{
    if (model_.rowCount() == 0)
        row = -1;
    else
        row = std::clamp(row, 0, model_.rowCount() - 1);
    if (row == current_)
        return;
    current_ = row;
    if (row >= 0) {
        keepCurrentInView();
        setAccessibleDescription(model_.rowText(row));
    }
    viewport()->update();
    Q_EMIT currentRowChanged(row);
}

void HistoryChart::keepCurrentInView()
{
    if (current_ < 0)
        return;
    const int pitch = barPitch();
    const int left = current_ * pitch;
    QScrollBar *bar = horizontalScrollBar();
    if (left < bar->value())
        bar->setValue(left);
    else if (left + pitch > bar->value() + plotArea().width())
        bar->setValue(left + pitch - plotArea().width());
}

double HistoryChart::niceStep(double range, int wanted) const
{
    // Seconds, minutes and hours in the steps a clock face suggests.
    static constexpr double kSteps[] = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600, 7200, 10800, 21600,
                                        43200, 86400};
    const double rough = range / std::max(1, wanted);
    for (const double step : kSteps) {
        if (step >= rough)
            return step;
    }
    // Beyond a day: 1, 2 or 5 times a power of ten days.
    const double days = rough / 86400;
    const double power = std::pow(10.0, std::floor(std::log10(days)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= days)
            return m * power * 86400;
    }
    return 10 * power * 86400;
}

void HistoryChart::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QRect plot = plotArea();
    const QFontMetrics fm = fontMetrics();
    painter.setPen(kText);

    // The time axis: whole steps from the lowest value to the highest.
    const double top = static_cast<double>(std::max<std::int64_t>(maxSeconds_, 60));
    const double bottom = static_cast<double>(minSeconds_);
    const double step = niceStep(top - bottom, std::max(2, plot.height() / (fm.height() * 3)));
    const double high = std::ceil(top / step) * step;
    const double low = std::floor(bottom / step) * step;
    auto yOf = [&](double seconds) {
        return plot.bottom() - static_cast<int>(std::lround((seconds - low) / (high - low) * plot.height()));
    };
    for (double v = low; v <= high + step / 2; v += step) {
        const int y = yOf(v);
        painter.setPen(kGrid);
        painter.drawLine(plot.left(), y, plot.right(), y);
        QString label = core::analysis::clockText(static_cast<std::int64_t>(v));
        if (step >= 60)
            label.chop(3); // whole minutes: H:MM
        painter.setPen(kText);
        painter.drawText(QRect(0, y - fm.height() / 2, kLeftMargin - 6, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                         label);
    }
    painter.drawText(QRect(4, 2, width(), kTopMargin - 4), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Time per %1 (hours:minutes), at the computer and away")
                         .arg(periodWord(model_.by(), false)));

    const int n = model_.rowCount();
    if (n > 0) {
        const int pitch = barPitch();
        const int barWidth = std::max(1, pitch * 3 / 4);
        const int scroll = horizontalScrollBar()->value();
        // Only the bars in view.
        const int first = std::max(0, scroll / pitch);
        const int last = std::min(n - 1, (scroll + plot.width()) / pitch);
        // A period label wherever it fits without touching the one before;
        // always at the same rows, so scrolling does not make them jump.
        const int labelWidth = fm.horizontalAdvance(QStringLiteral("2026-12-07")) + 12;
        const int every = std::max(1, (labelWidth + pitch - 1) / pitch);
        const int zero = yOf(0);
        auto xOf = [&](int row) { return plot.left() + row * pitch - scroll + (pitch - barWidth) / 2; };
        painter.setClipRect(plot);
        for (int row = first; row <= last; ++row) {
            const core::analysis::HistoryRow &r = model_.rows()[static_cast<std::size_t>(row)];
            const int x = xOf(row);
            const int y = yOf(static_cast<double>(r.seconds));
            const bool current = row == current_;
            if (r.seconds < 0) {
                fillPart(painter, QRect(QPoint(x, zero), QPoint(x + barWidth - 1, y - 1)), false, current);
            } else if (r.seconds > 0) {
                // At the computer from the axis up, the time away on top.
                const int middle = yOf(static_cast<double>(atTheComputer(r)));
                fillPart(painter, QRect(QPoint(x, middle), QPoint(x + barWidth - 1, zero - 1)), false, current);
                fillPart(painter, QRect(QPoint(x, y), QPoint(x + barWidth - 1, middle - 1)), true, current);
            }
            if (row == current_ && r.seconds == 0) {
                painter.setPen(kCurrentBar);
                painter.drawLine(x, zero - 1, x + barWidth - 1, zero - 1);
            }
        }
        // Labels may reach a little past the plot's ends, not into the time axis.
        painter.setClipRect(plot.adjusted(-kLeftMargin, 0, kRightMargin, kBottomMargin));
        for (int row = first - every; row <= last + every; ++row) {
            if (row < 0 || row >= n)
                continue;
            const core::analysis::HistoryRow &r = model_.rows()[static_cast<std::size_t>(row)];
            const int x = xOf(row);
            if (row % every == 0) {
                painter.setPen(kAxis);
                painter.drawLine(x + barWidth / 2, plot.bottom(), x + barWidth / 2, plot.bottom() + 3);
                painter.setPen(kText);
                QString label = isoText(r.period);
                if (model_.by() == core::analysis::Period::Month)
                    label.chop(3);
                painter.drawText(QRect(x + barWidth / 2 - labelWidth / 2, plot.bottom() + 4, labelWidth, fm.height()),
                                 Qt::AlignHCenter | Qt::AlignTop, label);
            }
        }
        painter.setClipping(false);
    } else {
        painter.drawText(plot, Qt::AlignCenter, QStringLiteral("No sessions to show."));
    }
    painter.setPen(kAxis);
    painter.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom());
    painter.drawLine(plot.left(), plot.bottom(), plot.right(), plot.bottom());
    painter.setPen(kText);
    const QString axis = model_.by() == core::analysis::Period::Week ? QStringLiteral("week, from its Monday")
                                                               : periodWord(model_.by(), false);
    painter.drawText(QRect(plot.left(), plot.bottom() + 4 + fm.height(), plot.width(), fm.height()),
                     Qt::AlignHCenter | Qt::AlignTop, axis);
    if (hasFocus()) {
        painter.setPen(QPen(kAxis, 1, Qt::DotLine));
        painter.drawRect(viewport()->rect().adjusted(0, 0, -1, -1));
    }
}

bool HistoryChart::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int row = rowAt(help->pos());
        if (row >= 0)
            QToolTip::showText(help->globalPos(), model_.rowText(row), viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void HistoryChart::keyPressEvent(QKeyEvent *event)
{
    const int perPage = std::max(1, plotArea().width() / barPitch());
    const int from = std::max(0, current_);
    switch (event->key()) {
    case Qt::Key_Left:
        setCurrentRow(current_ < 0 ? 0 : from - 1);
        break;
    case Qt::Key_Right:
        setCurrentRow(current_ < 0 ? 0 : from + 1);
        break;
    case Qt::Key_PageUp:
        setCurrentRow(from - perPage);
        break;
    case Qt::Key_PageDown:
        setCurrentRow(from + perPage);
        break;
    case Qt::Key_Home:
        setCurrentRow(0);
        break;
    case Qt::Key_End:
        setCurrentRow(model_.rowCount() - 1);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void HistoryChart::mousePressEvent(QMouseEvent *event)
{
    const int row = rowAt(event->position().toPoint());
    if (row >= 0)
        setCurrentRow(row);
    QAbstractScrollArea::mousePressEvent(event);
}

// ---- the window ----

HistoryWindow::HistoryWindow(core::analysis::History days, const QString &note, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , days_(std::move(days))
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("Zemlo Analysis: History"));
    resize(960, 560);

    auto *byLabel = new QLabel(QStringLiteral("&Group by:"), this);
    byLabel->setAccessibleName(QStringLiteral("Group by:"));
    byBox_ = new QComboBox(this);
    byBox_->setObjectName(QStringLiteral("periodChoice"));
    byBox_->addItem(QStringLiteral("Day"), int(core::analysis::Period::Day));
    byBox_->addItem(QStringLiteral("Week"), int(core::analysis::Period::Week));
    byBox_->addItem(QStringLiteral("Month"), int(core::analysis::Period::Month));
    byBox_->setToolTip(QStringLiteral("Show the time per day, per week (from Monday) or per month"));
    byBox_->setAccessibleName(QStringLiteral("Group by"));
    byBox_->view()->setAccessibleName(QStringLiteral("Group by"));
    byBox_->setAccessibleDescription(byBox_->toolTip());
    byLabel->setBuddy(byBox_);

    summary_ = new QLabel(this);
    summary_->setTextFormat(Qt::PlainText);

    chart_ = new HistoryChart(model_, this);
    chart_->setObjectName(QStringLiteral("chart"));
    chart_->setToolTip(QString());
    chart_->setAccessibleName(QStringLiteral("Bar chart of the time at the computer and away"));

    auto *atComputerKey = new LegendLabel(QStringLiteral("At the computer"), false, this);
    atComputerKey->setObjectName(QStringLiteral("legendAtComputer"));
    atComputerKey->setToolTip(QStringLiteral("The lower, solid light part of each bar"));
    atComputerKey->setAccessibleDescription(atComputerKey->toolTip());
    auto *awayKey = new LegendLabel(QStringLiteral("Away (screen locked or idle)"), true, this);
    awayKey->setObjectName(QStringLiteral("legendAway"));
    awayKey->setToolTip(QStringLiteral("The upper, dark hatched part of each bar, from LogAway.log"));
    awayKey->setAccessibleDescription(awayKey->toolTip());

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("values"));
    table_->setModel(&model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    // Fixed sizes: measuring the contents would read every row, and a
    // history can have tens of thousands. Each column is as wide as its
    // widest text can be, in every grouping, so the table never changes
    // width: the cells' in the table's font, the headers' as the header
    // itself measures them (in its own font, bold in most styles).
    const QFontMetrics fm = table_->fontMetrics();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fm.height() + 6);
    QHeaderView *header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    int widths[] = {fm.horizontalAdvance(QStringLiteral("week of 2026-12-07")) + 16,
                    fm.horizontalAdvance(QStringLiteral("0000000")) + 16,
                    fm.horizontalAdvance(QStringLiteral("00000:00:00")) + 16,
                    fm.horizontalAdvance(QStringLiteral("00000:00:00")) + 16};
    constexpr int kColumns = sizeof widths / sizeof widths[0];
    for (const auto by : {core::analysis::Period::Day, core::analysis::Period::Week, core::analysis::Period::Month}) {
        model_.setRows({}, by);
        for (int column = 0; column < kColumns; ++column)
            widths[column] = std::max(widths[column], header->sectionSizeHint(column));
    }
    int tableWidth = 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width() + 2;
    for (int column = 0; column < kColumns; ++column) {
        header->resizeSection(column, widths[column]);
        tableWidth += widths[column];
    }
    table_->setFixedWidth(tableWidth);
    table_->setAccessibleName(QStringLiteral("The same values as a table"));
    table_->setToolTip(QStringLiteral("Sessions, time and time away of each period, as in the chart"));
    table_->setAccessibleDescription(table_->toolTip());

    auto *top = new QHBoxLayout;
    top->addWidget(byLabel);
    top->addWidget(byBox_);
    top->addSpacing(16);
    top->addWidget(summary_, 1);
    auto *legend = new QHBoxLayout;
    legend->addWidget(atComputerKey);
    legend->addSpacing(16);
    legend->addWidget(awayKey);
    legend->addStretch(1);
    auto *middle = new QHBoxLayout;
    middle->addWidget(chart_, 1);
    middle->addWidget(table_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    if (!note.isEmpty()) {
        auto *noteLabel = new QLabel(note, this);
        noteLabel->setTextFormat(Qt::PlainText);
        noteLabel->setWordWrap(true);
        noteLabel->setAccessibleName(note);
        layout->addWidget(noteLabel);
    }
    layout->addLayout(legend);
    layout->addLayout(middle, 1);
    setTabOrder(byBox_, chart_);
    setTabOrder(chart_, table_);
    // The keys move through the bars from the start; Tab reaches the rest.
    chart_->setFocus();

    connect(byBox_, &QComboBox::currentIndexChanged, this,
            [this](int) { showPeriod(static_cast<core::analysis::Period>(byBox_->currentData().toInt())); });
    connect(chart_, &HistoryChart::currentRowChanged, this, &HistoryWindow::currentRowChanged);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, chart_,
            [this](const QModelIndex &current) { chart_->setCurrentRow(current.row()); });
    showPeriod(core::analysis::Period::Day);
}

void HistoryWindow::showPeriod(core::analysis::Period by)
{
    const int index = byBox_->findData(int(by));
    if (byBox_->currentIndex() != index) {
        byBox_->setCurrentIndex(index); // comes back here
        return;
    }
    const std::optional<core::analysis::History> grouped = days_.regrouped(by);
    model_.setRows(grouped ? grouped->rows() : std::vector<core::analysis::HistoryRow>(), by);

    const auto &rows = model_.rows();
    std::int64_t sessions = 0, seconds = 0, away = 0;
    for (const core::analysis::HistoryRow &r : rows) {
        sessions += r.sessions;
        seconds += r.seconds;
        away += r.away;
    }
    summary_->setText(rows.empty() ? QStringLiteral("No sessions in the log.")
                                   : QStringLiteral("%1 %2, %3 (%4 away) in %5 %6 from %7 to %8")
                                         .arg(sessions)
                                         .arg(sessions == 1 ? QStringLiteral("session") : QStringLiteral("sessions"),
                                              core::analysis::clockText(seconds), core::analysis::clockText(away))
                                         .arg(rows.size())
                                         .arg(periodWord(by, rows.size() != 1), model_.periodText(0),
                                              model_.periodText(static_cast<int>(rows.size()) - 1)));
    summary_->setAccessibleName(summary_->text());
    chart_->setAccessibleDescription(QStringLiteral("One bar per %1; the arrow keys move between them. The table "
                                                    "beside holds the same values.")
                                         .arg(periodWord(by, false)));
    // Start at the latest period: that is what one looks at first.
    if (!rows.empty())
        chart_->setCurrentRow(static_cast<int>(rows.size()) - 1);
}

void HistoryWindow::currentRowChanged(int row)
{
    if (row < 0 || table_->currentIndex().row() == row)
        return;
    const QModelIndex index = model_.index(row, 0);
    table_->setCurrentIndex(index);
    table_->scrollTo(index);
}

} // namespace analyser
