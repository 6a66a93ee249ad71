// SPDX-License-Identifier: MIT
// The report's menu and the History window it opens: a right click opens
// the menu, copying gives the report as shown, and the
// window's table follows the choice of period with the same rows as
// `tallio-report --by`, time away from LogAway.log beside the log included,
// the chart's current bar in step with it.

#include "analyser/historywindow.h"
#include "analyser/talliowindow.h"
#include "core/analysis/history.h"
#include "forms/formslot.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Three sessions: Tuesday 16 and Thursday 18 November 1999, Monday 6 December.
const char kLog[] = "\"----------\"\r\n#1999-11-16#\r\n#09:00:00#\r\n#10:00:00#\r\n3600\r\n\"1:00:00\"\r\n"
                    "\"----------\"\r\n#1999-11-18#\r\n#09:00:00#\r\n#10:30:30#\r\n5430\r\n\"1:30:30\"\r\n"
                    "\"----------\"\r\n#1999-12-06#\r\n#09:00:00#\r\n#09:01:00#\r\n60.5\r\n\"0:01:00\"\r\n";
// Away a quarter of an hour in the first session (asleep time is no part of
// it) and half a minute in the last.
const char kAwayLog[] = "1999-11-16,09:00:00,10:00:00,1200,600,300\r\n1999-12-06,09:00:00,09:01:00,0,0,30\r\n";

std::vector<std::string> tableRows(QTableView &table)
{
    std::vector<std::string> out;
    const QAbstractItemModel *m = table.model();
    for (int row = 0; row < m->rowCount(); ++row)
        out.push_back((m->index(row, 0).data().toString() + QLatin1Char(' ') + m->index(row, 1).data().toString()
                       + QLatin1Char(' ') + m->index(row, 2).data().toString() + QLatin1Char(' ')
                       + m->index(row, 3).data().toString())
                          .toStdString());
    return out;
}

TEST(HistoryWindow, OpensFromTheReportsMenuWithTheRowsOfEachPeriod)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LogData.log"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kLog);
    file.close();
    QFile away(dir.filePath(QStringLiteral("LogAway.log")));
    ASSERT_TRUE(away.open(QIODevice::WriteOnly));
    away.write(kAwayLog);
    away.close();

    forms::FormSlot<analyser::Form1> slot([&] { return new analyser::Form1(path); });
    analyser::Form1 &form = slot.get();
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    QMenu &menu = form.contextMenu();
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_EQ(menu.actions().at(0)->text(), QStringLiteral("&Copy report"));
    EXPECT_EQ(menu.actions().at(1)->text(), QStringLiteral("&History"));

    // A right click on the report opens it (the Menu key is the X server's
    // to turn into the same event: the end-to-end test presses it).
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10), form.mapToGlobal(QPoint(10, 10)));
    QCoreApplication::sendEvent(&form.Label1, &click);
    EXPECT_TRUE(menu.isVisible()) << "no menu for a right click on the report";
    menu.hide();

    menu.actions().at(0)->trigger();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("9090 Secs\n0 days / 2:31:30\n")))
        << QGuiApplication::clipboard()->text().toStdString();

    menu.actions().at(1)->trigger();
    analyser::HistoryWindow *window = form.historyWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());

    struct Choice
    {
        const char *name;
        std::vector<std::string> rows;
    };
    const std::vector<Choice> choices = {
        {"Week", {"week of 1999-11-15 2 2:30:30 0:15:00", "week of 1999-11-22 0 0:00:00 0:00:00",
                  "week of 1999-11-29 0 0:00:00 0:00:00", "week of 1999-12-06 1 0:01:00 0:00:30"}},
        {"Month", {"1999-11 2 2:30:30 0:15:00", "1999-12 1 0:01:00 0:00:30"}},
    };
    for (const Choice &choice : choices) {
        window->periodChoice().setCurrentText(QString::fromLatin1(choice.name));
        EXPECT_EQ(tableRows(window->table()), choice.rows) << choice.name;
        // The latest period is current in the chart and in the table.
        EXPECT_EQ(window->chart().currentRow(), static_cast<int>(choice.rows.size()) - 1) << choice.name;
        EXPECT_EQ(window->table().currentIndex().row(), window->chart().currentRow()) << choice.name;
        // Every header whole, as the header would size it itself.
        const QHeaderView &header = *window->table().horizontalHeader();
        for (int column = 0; column < 4; ++column)
            EXPECT_GE(header.sectionSize(column), header.sectionSizeHint(column))
                << choice.name << ", column " << column;
    }
    // What hovering or a screen reader tells of a row says both parts.
    EXPECT_EQ(window->model().rowText(1).toStdString(),
              "1999-12: 1 session, 0:01:00: 0:00:30 at the computer, 0:00:30 away");
    EXPECT_EQ(window->model().index(0, 3).data(Qt::ToolTipRole).toString().toStdString(),
              "1999-11: 2 sessions, 2:30:30: 2:15:30 at the computer, 0:15:00 away");
    EXPECT_EQ(window->chart().accessibleDescription(), window->model().rowText(1));
    // The legend is read as it is shown, with its tooltip as description.
    std::vector<std::string> legend;
    for (analyser::LegendLabel *key : window->findChildren<analyser::LegendLabel *>()) {
        QAccessibleInterface *read = QAccessible::queryAccessibleInterface(key);
        legend.push_back(read->text(QAccessible::Name).toStdString());
        EXPECT_EQ(read->text(QAccessible::Description), key->toolTip());
        EXPECT_EQ(read->text(QAccessible::Name), key->text());
    }
    EXPECT_EQ(legend, (std::vector<std::string> {"At the computer", "Away (screen locked or idle)"}));

    window->periodChoice().setCurrentText(QStringLiteral("Day"));
    EXPECT_EQ(window->table().model()->rowCount(), 21); // 16 November to 6 December
    QTest::keyClick(&window->chart(), Qt::Key_Home);
    EXPECT_EQ(window->table().currentIndex().row(), 0);
    QTest::keyClick(&window->chart(), Qt::Key_Right);
    EXPECT_EQ(window->table().currentIndex().row(), 1);
    window->table().setCurrentIndex(window->table().model()->index(20, 0));
    EXPECT_EQ(window->chart().currentRow(), 20);
}

} // namespace
