// SPDX-License-Identifier: MIT
// The login entry: it starts this very program wherever it lies, the desktop
// skips it once the program is gone, and a path that would smuggle a line
// into it is never written.

#include "core/desktop/autostart.h"

#include "support/qstringprint.h"

#include <QFile>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// desktop-file-validate's verdict on an entry: empty when it accepts it.
QString validate(const QString &text)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tocka.desktop"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write ") + path;
    file.write(text.toUtf8());
    file.close();
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QStringLiteral("desktop-file-validate"), {path});
    if (!run.waitForFinished(20000))
        return QStringLiteral("desktop-file-validate did not run (desktop-file-utils)");
    const QString out = QString::fromLocal8Bit(run.readAll());
    return run.exitCode() == 0 && out.trimmed().isEmpty() ? QString() : out;
}

} // namespace

TEST(Autostart, EntryStartsThisProgramWhereverItLiesAndOnlyWhileItIsThere)
{
    struct Row
    {
        const char *program, *exec, *tryExec;
    };
    const Row rows[] = {
        {"/usr/bin/tocka", "/usr/bin/tocka", "/usr/bin/tocka"},
        {"/home/u/My Programs/tocka", "\"/home/u/My Programs/tocka\"", "/home/u/My Programs/tocka"},
        {"/home/u/a$b/tocka", "\"/home/u/a\\\\$b/tocka\"", "/home/u/a$b/tocka"},
        {"/home/u/back\\slash/tocka", "\"/home/u/back\\\\\\\\slash/tocka\"", "/home/u/back\\\\slash/tocka"},
        {"/home/u/say \"hi\"/tocka", "\"/home/u/say \\\\\"hi\\\\\"/tocka\"", "/home/u/say \"hi\"/tocka"},
        {"/home/u/100%/tocka", "/home/u/100%%/tocka", "/home/u/100%/tocka"},
        {"/home/u/\xc3\xa9t\xc3\xa9/tocka", "/home/u/\xc3\xa9t\xc3\xa9/tocka", "/home/u/\xc3\xa9t\xc3\xa9/tocka"},
    };
    for (const Row &row : rows) {
        const QString program = QString::fromUtf8(row.program);
        EXPECT_EQ(core::desktop::execArgument(program), QString::fromUtf8(row.exec)) << row.program;
        EXPECT_EQ(core::desktop::programPathProblem(program), QString()) << row.program;
        const QString text = core::desktop::autostartEntryText(program);
        EXPECT_TRUE(text.contains(QStringLiteral("\nExec=env TOCKA_FROM_DESKTOP=1 ") + QString::fromUtf8(row.exec)
                                  + QLatin1Char('\n')))
            << qPrintable(text);
        EXPECT_TRUE(text.contains(QStringLiteral("\nTryExec=") + QString::fromUtf8(row.tryExec) + QLatin1Char('\n')))
            << qPrintable(text);
        EXPECT_EQ(validate(text), QString()) << row.program;
    }
}

TEST(Autostart, APathThatWouldAddALineOrIsNotAbsoluteIsRefusedAndNothingIsWritten)
{
    // A configuration folder of its own: other tests write the entry too.
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QByteArray oldConfigHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    ASSERT_TRUE(core::desktop::autostartEntryPath().startsWith(config.path()));
    struct Row
    {
        QString program;
        const char *reason;
    };
    const Row rows[] = {
        {QStringLiteral("/tmp/x\nExec=sh -c evil\n/tocka"), "line break"},
        {QStringLiteral("/tmp/x\r/tocka"), "line break"},
        {QStringLiteral("/tmp/x") + QChar(0x2028) + QStringLiteral("/tocka"), "line break"},
        {QStringLiteral("/tmp/x\t/tocka"), "control character, U+0009"},
        {QStringLiteral("/tmp/x\x1b[31m/tocka"), "control character, U+001B"},
        {QStringLiteral("/tmp/x\x7f/tocka"), "control character, U+007F"},
        {QStringLiteral("/tmp/x") + QChar(0x85) + QStringLiteral("/tocka"), "control character, U+0085"},
        {QStringLiteral("tocka"), "not an absolute path"},
        {QStringLiteral("bin/tocka"), "not an absolute path"},
        {QString(), "not an absolute path"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.reason);
        EXPECT_TRUE(core::desktop::programPathProblem(row.program).contains(QLatin1String(row.reason)))
            << qPrintable(core::desktop::programPathProblem(row.program));
        EXPECT_EQ(core::desktop::autostartEntryText(row.program), QString());
        QString error;
        EXPECT_FALSE(core::desktop::enableAutostart(row.program, &error));
        EXPECT_TRUE(error.contains(QLatin1String(row.reason))) << qPrintable(error);
        EXPECT_FALSE(error.contains(QLatin1Char('\n')) || error.contains(QLatin1Char('\r'))) << qPrintable(error);
        EXPECT_EQ(QDir(config.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
    qputenv("XDG_CONFIG_HOME", oldConfigHome);
}
