// SPDX-License-Identifier: MIT
#pragma once
// Tallio's History window: the time per day, week or month as a bar chart,
// each bar in two parts, the time at the computer and the time away, and the
// same numbers as a table beside it, which is also what a screen reader
// reads. The numbers are those of `tallio-report --by`,
// from the pass that built the report.

#include "core/analysis/history.h"

#include <QAbstractScrollArea>
#include <QAbstractTableModel>
#include <QLabel>
#include <QWidget>

#include <vector>

class QComboBox;
class QTableView;

namespace analyser {

// A legend's entry: the part of a bar it names, drawn before its text.
class LegendLabel : public QLabel
{
    Q_OBJECT
public:
    LegendLabel(const QString &text, bool away, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int swatchSize() const;
    bool away_;
};

// The rows as a table: period, sessions, time and time away (H:MM:SS).
class HistoryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<core::analysis::HistoryRow> rows, core::analysis::Period by);
    const std::vector<core::analysis::HistoryRow> &rows() const { return rows_; }
    core::analysis::Period by() const { return by_; }
    // "2026-12-07", or "week of 2026-12-07", or "2026-12".
    QString periodText(int row) const;
    // Everything about a row in one sentence, for tooltips.
    QString rowText(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<core::analysis::HistoryRow> rows_;
    core::analysis::Period by_ = core::analysis::Period::Day;
};

// The bars, one per row, scrolled sideways when they do not fit. Only the
// bars in view are drawn, so a history of many thousand days scrolls as
// lightly as one of ten. The current bar follows the table's current row.
class HistoryChart : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit HistoryChart(HistoryModel &model, QWidget *parent = nullptr);

    int currentRow() const { return current_; }
    void setCurrentRow(int row);
    // The row whose bar is under a point of the viewport, or -1.
    int rowAt(QPoint viewportPoint) const;
    int barPitch() const;

Q_SIGNALS:
    void currentRowChanged(int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void modelReset();
    void updateScrollBar();
    void keepCurrentInView();
    QRect plotArea() const;
    double niceStep(double range, int wanted) const;

    HistoryModel &model_;
    int current_ = -1;
    std::int64_t maxSeconds_ = 0;
    std::int64_t minSeconds_ = 0;
};

class HistoryWindow : public QWidget
{
    Q_OBJECT
public:
    // `days`: the history by day; `note`: said above the chart when the log
    // was not read whole, empty otherwise.
    HistoryWindow(core::analysis::History days, const QString &note, QWidget *parent = nullptr);

    void showPeriod(core::analysis::Period by);
    HistoryModel &model() { return model_; }
    HistoryChart &chart() { return *chart_; }
    QComboBox &periodChoice() { return *byBox_; }
    QTableView &table() { return *table_; }

private:
    void currentRowChanged(int row);

    core::analysis::History days_;
    HistoryModel model_;
    QComboBox *byBox_ = nullptr;
    QLabel *summary_ = nullptr;
    HistoryChart *chart_ = nullptr;
    QTableView *table_ = nullptr;
};

} // namespace analyser
