// SPDX-License-Identifier: MIT
#pragma once
// Tallio's one window: black, with one label that shows the report of the
// session log. The report is built while the window loads, before it is
// first shown; afterwards the window only keeps the label sized to itself.

#include "analyser/historywindow.h"
#include "core/analysis/history.h"
#include "forms/form.h"
#include "forms/labelcontrol.h"

#include <QPointer>
#include <QSizeF>
#include <QString>

#include <optional>

class QAction;
class QMenu;

namespace analyser {

class Form1 : public forms::Form
{
    Q_OBJECT
public:
    // `logPath` empty: `LogData.log` in the current folder, where Tocka
    // writes it when started in the same folder.
    explicit Form1(QString logPath = {});
    ~Form1() override;

    void Form_Load() override;
    void Form_Resize();

    // The caption exactly as the analysis built it; the label shows it with
    // its carriage returns as line breaks.
    QString Label1Caption() const { return caption_; }
    void setLabel1Caption(const QString &caption);

    // The label's size in twips, as last set.
    QSizeF Label1Size() const { return labelSize_; }
    // The window's outer size (frame and title bar included) in twips.
    QSizeF outerSize() const;
    // The label's size for a window of that outer size: 240 twips narrower
    // and 30 lower, never below 0 (a label cannot have a negative size).
    static QSizeF labelSizeFor(QSizeF outerTwips);

    forms::LabelControl Label1;

    // The menu of a right click on the report, or of the Menu key.
    QMenu &contextMenu() { return *menu_; }
    // Puts the report as shown on the clipboard, one line per line.
    void copyReport();
    // Opens the History window, or brings it forward.
    void showHistory();
    HistoryWindow *historyWindow() const { return history_; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void setLabel1Size(QSizeF twips);
    void growToShowAll();
    void placeHistory();

    QString logPath_;
    QString caption_;
    // The sessions by day, from the same pass that built the report; what
    // the History window shows.
    std::optional<core::analysis::History> days_;
    QString historyNote_;
    QMenu *menu_ = nullptr;
    QAction *historyAction_ = nullptr;
    QPointer<HistoryWindow> history_;
    QSizeF labelSize_;
    QSizeF lastOuterSize_;
};

} // namespace analyser
