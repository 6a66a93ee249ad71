// SPDX-License-Identifier: MIT
// Tallio's window: it shows the report of the log it finds, as built before
// it is first shown, in the design's look, and keeps the label sized to its
// outer size.

#include "analyser/talliowindow.h"
#include "core/units/twips.h"
#include "forms/fonts.h"
#include "forms/formslot.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char kWorkedExample[] = "\"----------\"\r\n#1999-11-16#\r\n#09:00:00#\r\n#10:00:00#\r\n3600\r\n\"1:00:00\"\r\n"
                              "\"----------\"\r\n#1999-11-18#\r\n#09:00:00#\r\n#10:30:30#\r\n5430\r\n\"1:30:30\"\r\n";

const QString kWorkedExampleReport = QStringLiteral(
    "9030 Secs\r0 days / 2:30:30\r-------------\r0.1 Days\r2.5 Hours\r151 Minutes\r-------------\r"
    "2 runs Since 16 Nov 1999\rAvg Length: 1:15:15\rSessions per Day: 1\r-------------\r"
    "Last Updated on: 18 Nov 1999\r"
    "Note: to reduce cpu usage, current session is not included. Count is updated everytime you shutdown.");

class Window : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString writeLog(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("LogData.log"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(Window, ShowsTheReportBuiltBeforeItIsShown)
{
    const QString path = writeLog(kWorkedExample);
    forms::FormSlot<analyser::Form1> slot([&] { return new analyser::Form1(path); });
    analyser::Form1 &form = slot.get(); // loads, hidden
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Label1Caption(), kWorkedExampleReport);
    form.Show();

    EXPECT_EQ(form.windowTitle(), QStringLiteral("Zemlo Analysis: Time spent"));
    // The label breaks lines where the report has its carriage returns.
    QString shown = kWorkedExampleReport;
    shown.replace(QChar(13), QChar(10));
    EXPECT_EQ(form.Label1.text(), shown);
    EXPECT_EQ(form.Label1.textFormat(), Qt::PlainText);
    EXPECT_TRUE(form.Label1.wordWrap());

    EXPECT_EQ(form.Label1.ForeColor(), 8454016);
    EXPECT_EQ(form.Label1.palette().color(QPalette::WindowText), QColor(128, 255, 128));
    EXPECT_EQ(form.Label1.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(form.Label1.font().family(), forms::fonts::family(QStringLiteral("Verdana")));
    EXPECT_DOUBLE_EQ(form.Label1.font().pointSizeF(), 9.75);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&form.Label1)->text(QAccessible::Name), shown)
        << "a reader reads the report itself";
    EXPECT_EQ(form.Label1.x(), core::units::twipsToPixels(120));
    EXPECT_EQ(form.Label1.y(), 0);
}

TEST_F(Window, TellsWhereItLookedWhenThereIsNoLog)
{
    const QString path = dir.filePath(QStringLiteral("LogData.log"));
    forms::FormSlot<analyser::Form1> slot([&] { return new analyser::Form1(path); });
    const QString caption = slot.get().Label1Caption();
    EXPECT_TRUE(caption.startsWith(QStringLiteral("No session log to report on.\r"))) << caption.toStdString();
    EXPECT_TRUE(caption.contains(QStringLiteral("LogData.log in the folder %1 ").arg(QDir::toNativeSeparators(dir.path()))))
        << caption.toStdString();
}

TEST_F(Window, GrowsToShowAProblemAndThePartialReportWhole)
{
    QByteArray log = QByteArray(kWorkedExample);
    log.replace("5430", "54x30");
    const QString path = writeLog(log);
    forms::FormSlot<analyser::Form1> slot([&] { return new analyser::Form1(path); });
    analyser::Form1 &form = slot.get();
    form.Show();
    EXPECT_TRUE(form.Label1Caption().contains(QStringLiteral("line 11")));
    EXPECT_GT(form.height(), core::units::twipsToPixels(4380));
    EXPECT_LE(form.Label1.heightForWidth(form.Label1.width()), form.Label1.height());
}

TEST_F(Window, KeepsItsDesignSizeForAWholeReport)
{
    const QString path = writeLog(kWorkedExample);
    forms::FormSlot<analyser::Form1> slot([&] { return new analyser::Form1(path); });
    analyser::Form1 &form = slot.get();
    EXPECT_EQ(form.size(), QSize(core::units::twipsToPixels(4305), core::units::twipsToPixels(4380)));
}

TEST_F(Window, SaysWhenTheLogCannotBeRead)
{
    // Tests may run as root, for whom no file is unreadable by its mode; a
    // folder of that name cannot be read as a file by anyone.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("LogData.log")));
    forms::FormSlot<analyser::Form1> slot(
        [&] { return new analyser::Form1(dir.filePath(QStringLiteral("LogData.log"))); });
    const QString caption = slot.get().Label1Caption();
    EXPECT_TRUE(caption.contains(QStringLiteral("cannot be read"))) << caption.toStdString();
    EXPECT_FALSE(caption.contains(QStringLiteral("Secs")));
}

TEST(LabelLayout, FollowsTheOuterSize)
{
    struct Row
    {
        QSizeF outer;
        QSizeF label;
    };
    const Row rows[] = {
        {{4500, 4900}, {4260, 4870}},
        {{4305, 4380}, {4065, 4350}},
        {{240, 30}, {0, 0}},
        {{100, 10}, {0, 0}},   // too small for the rule: the label shrinks to nothing
        {{1000, 10}, {760, 0}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(analyser::Form1::labelSizeFor(row.outer), row.label)
            << row.outer.width() << " x " << row.outer.height();
}

TEST_F(Window, ResizingResizesTheLabelAndKeepsTheReport)
{
    const QString path = writeLog(kWorkedExample);
    forms::FormSlot<analyser::Form1> slot([&] { return new analyser::Form1(path); });
    analyser::Form1 &form = slot.get();
    form.Show();

    // The log changes after the start: the report stays as it was.
    writeLog(QByteArray(kWorkedExample) + kWorkedExample);
    form.resize(300, 400);
    const QSizeF outer = form.outerSize();
    EXPECT_EQ(form.Label1Size(), QSizeF(outer.width() - 240, outer.height() - 30));
    EXPECT_EQ(form.Label1.geometry(),
        QRect(core::units::twipsToPixels(120), 0, core::units::twipsToPixels(outer.width() - 240),
            core::units::twipsToPixels(outer.height() - 30)));
    EXPECT_EQ(form.Label1Caption(), kWorkedExampleReport);

    // Narrower than the label's margins: the width stops at 0.
    form.resize(5, 100);
    ASSERT_LT(form.outerSize().width(), 240);
    EXPECT_EQ(form.Label1Size(), QSizeF(0, form.outerSize().height() - 30));
    EXPECT_EQ(form.Label1.width(), 0);
}

TEST_F(Window, LongLinesWrapWhenNarrowed)
{
    const QString path = writeLog(kWorkedExample);
    forms::FormSlot<analyser::Form1> slot([&] { return new analyser::Form1(path); });
    analyser::Form1 &form = slot.get();
    form.Show();
    form.resize(600, 400);
    const int wide = form.Label1.heightForWidth(form.Label1.width());
    form.resize(150, 400);
    const int narrow = form.Label1.heightForWidth(form.Label1.width());
    EXPECT_GT(narrow, wide);
}

} // namespace
