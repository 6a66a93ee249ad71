// SPDX-License-Identifier: MIT
// Every window as a screen reader finds it, walked through Qt's accessibility
// interface: a control the keyboard can reach has a name, and a label is read
// as the very text it shows, also when that text changes after the window
// was built.

#include "about/frmabout.h"
#include "analyser/historywindow.h"
#include "analyser/talliowindow.h"
#include "clock/tockafixture.h"
#include "settings/frmsetting.h"
#include "support/qstringprint.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Walk
{
    std::vector<std::string> faults;
    int focusable = 0;
    int labels = 0;
};

std::string describe(QAccessibleInterface *iface)
{
    const QObject *o = iface->object();
    return std::string(o ? o->metaObject()->className() : "?") + " '"
        + (o ? o->objectName().toStdString() : std::string()) + "' named '"
        + iface->text(QAccessible::Name).toStdString() + "'";
}

void walk(QAccessibleInterface *iface, Walk &w)
{
    const QString name = iface->text(QAccessible::Name);
    if (iface->state().focusable) {
        ++w.focusable;
        if (name.trimmed().isEmpty())
            w.faults.push_back("focusable without a name: " + describe(iface));
    }
    if (const auto *label = qobject_cast<const QLabel *>(iface->object()); label && !label->text().isEmpty()) {
        ++w.labels;
        // What it shows: the & that marks a shortcut key is not shown.
        QString shown = label->text();
        if (label->buddy())
            shown.remove(QRegularExpression(QStringLiteral("&(?!&)")));
        if (name != shown)
            w.faults.push_back("label read as something else than '" + shown.toStdString() + "': " + describe(iface));
        // A fixed name also stops the label telling a reader its text changed.
        if (!label->accessibleName().isEmpty() && label->accessibleName() != shown)
            w.faults.push_back("label behind the fixed name '" + label->accessibleName().toStdString() + "'");
        QAccessibleTextInterface *text = iface->textInterface();
        if (!text)
            w.faults.push_back("label without a text to read: " + describe(iface));
        else if (text->text(0, text->characterCount()) != shown)
            w.faults.push_back("label whose text reads otherwise: " + describe(iface));
    }
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), w);
}

// What one widget of a window must read as, besides the rules for all.
struct Reading
{
    std::function<QWidget *()> widget;
    QStringList lines;
};

const char kLog[] = "\"----------\"\r\n#1999-11-16#\r\n#09:00:00#\r\n#10:00:00#\r\n3600\r\n\"1:00:00\"\r\n"
                    "\"----------\"\r\n#1999-11-18#\r\n#09:00:00#\r\n#10:30:30#\r\n5430\r\n\"1:30:30\"\r\n";

using AccessibleWindows = TockaFixture;

TEST_F(AccessibleWindows, EveryControlIsNamedAndEveryLabelReadsWhatItShows)
{
    QTemporaryDir logs;
    ASSERT_TRUE(logs.isValid());
    QFile log(logs.filePath(QStringLiteral("LogData.log")));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write(kLog);
    log.close();
    forms::FormSlot<analyser::Form1> report([&] { return new analyser::Form1(log.fileName()); });
    const QString missing = logs.filePath(QStringLiteral("none/LogData.log"));
    forms::FormSlot<analyser::Form1> noReport([&] { return new analyser::Form1(missing); });

    struct Row
    {
        const char *window;
        std::function<QWidget *()> open;
        Reading reading;
    };
    const Row rows[] = {
        {"clock face after five seconds",
         [&] {
             for (int second = 0; second < 5; ++second) {
                 fake.advance(1);
                 clock().Timer1_Timer();
             }
             return static_cast<QWidget *>(&clock());
         },
         {[&] { return &clock().Label1; }, {QStringLiteral("0:00:05")}}},
        {"settings",
         [&] {
             // A countdown set from code reads, and shows, from its start.
             settings().tockUntil.setTextFromCode(QStringLiteral("19.9333333333333"));
             return static_cast<QWidget *>(&settings());
         },
         {[&] { return &settings().Label13; }, {QStringLiteral("Time Until Tock")}}},
        {"about", [&] { return static_cast<QWidget *>(&app->frmAbout()); },
         {[&] { return &app->frmAbout().lblVersion; }, {QStringLiteral("Version 1.19.76")}}},
        {"Tallio's report", [&] { return static_cast<QWidget *>(&report.get()); },
         {[&] { return &report.get().Label1; },
          {QStringLiteral("9030 Secs"), QStringLiteral("0 days / 2:30:30"), QStringLiteral("-------------"),
           QStringLiteral("0.1 Days"), QStringLiteral("2.5 Hours"), QStringLiteral("151 Minutes"),
           QStringLiteral("-------------"), QStringLiteral("2 runs Since 16 Nov 1999"),
           QStringLiteral("Avg Length: 1:15:15"), QStringLiteral("Sessions per Day: 1"),
           QStringLiteral("-------------"), QStringLiteral("Last Updated on: 18 Nov 1999"),
           QStringLiteral("Note: to reduce cpu usage, current session is not included. Count is updated everytime "
                          "you shutdown.")}}},
        {"Tallio without a log", [&] { return static_cast<QWidget *>(&noReport.get()); },
         {[&] { return &noReport.get().Label1; }, {QStringLiteral("No session log to report on.")}}},
        {"Tallio's history",
         [&] {
             report.get().showHistory();
             return static_cast<QWidget *>(report.get().historyWindow());
         },
         {[&] { return static_cast<QWidget *>(report.get().historyWindow()); }, {}}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.window);
        QWidget *window = row.open();
        window->show();
        Walk w;
        QAccessibleInterface *top = QAccessible::queryAccessibleInterface(window);
        EXPECT_TRUE(top->role() == QAccessible::Window || top->role() == QAccessible::Dialog) << top->role();
        walk(top, w);
        EXPECT_EQ(w.faults, std::vector<std::string>{});
        EXPECT_GT(w.labels, 0);

        // The lines a reader gets, in order: the given ones at the start.
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(row.reading.widget());
        ASSERT_NE(iface, nullptr);
        const QStringList read = iface->text(QAccessible::Name).split(QChar(10));
        EXPECT_EQ(read.mid(0, row.reading.lines.size()), row.reading.lines);
        if (row.reading.lines.size() > 1) {
            EXPECT_EQ(read.size(), row.reading.lines.size());
        }
    }

    EXPECT_EQ(settings().tockUntil.cursorPosition(), 0);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&settings().tockUntil)->textInterface()->text(0, 16),
              QStringLiteral("19.9333333333333"));
    // The message naming the file is read whole, path and all.
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(&noReport.get().Label1)
                    ->text(QAccessible::Name)
                    .contains(QDir::toNativeSeparators(QFileInfo(missing).path())));
}

} // namespace
