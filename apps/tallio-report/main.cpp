// tallio-report: Tallio's report on standard output, for scripts and
// terminals. It reads LogData.log in the current folder, or the log named on
// the command line, and prints the same thirteen lines as the window.
// When the log cannot be read whole it prints nothing on standard output, so
// no script takes a partial report for the real one: what went wrong, and
// what the whole records before it give, go to standard error.

#include "analysis.h"
#include "commandline.h"
#include "outcome.h"
#include "record.h"

#include <QDir>
#include <QString>

#include <cstdio>
#include <cstring>

namespace {

int usage(std::FILE *out)
{
    std::fputs("Usage: tallio-report [LOGFILE]\n"
               "Prints the report on the session log LOGFILE (by default LogData.log in the\n"
               "current folder). Exits with 0 when the whole log was read, 1 when it could not\n"
               "be read whole (the reason on standard error) and 2 on wrong arguments.\n",
               out);
    return out == stdout ? 0 : 2;
}

void printLines(std::FILE *out, const QStringList &lines)
{
    for (const QString &line : lines) {
        const QByteArray bytes = line.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
        std::fputc('\n', out);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QString path = QDir::current().absoluteFilePath(QString::fromLatin1(sessionlog::kDataLogFileName));
    if (argc > 2)
        return usage(stderr);
    if (argc == 2) {
        if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)
            return usage(stdout);
        if (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "-V") == 0) {
            commandline::printVersion("tallio-report", stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (argv[1][0] == '-' && argv[1][1] != '\0')
            return usage(stderr);
        path = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    }

    const analyser::Outcome outcome = analyser::outcome(analyser::analyseFile(path), path);
    if (outcome.complete()) {
        printLines(stdout, outcome.report);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    std::fputs("tallio-report: ", stderr);
    printLines(stderr, outcome.problem);
    if (!outcome.report.isEmpty()) {
        std::fputc('\n', stderr);
        printLines(stderr, outcome.report);
    }
    return 1;
}
