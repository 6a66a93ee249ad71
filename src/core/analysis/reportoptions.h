// SPDX-License-Identifier: MIT
#pragma once
// tallio-report's command line: what it asks for, or why it cannot be done.
// Read apart from the program so that every rule of the usage can be tried
// without running it.

#include "core/analysis/analysis.h"
#include "core/analysis/history.h"
#include "core/analysis/historyformat.h"

#include <QDate>
#include <QString>

#include <optional>

namespace core::analysis {

// What --help prints, and what a wrong argument is followed by on standard
// error.
extern const char kReportUsage[];

struct ReportOptions
{
    std::optional<Period> by;
    std::optional<QDate> since;
    std::optional<QDate> until;
    HistoryFormat format = HistoryFormat::Text;
    std::optional<QString> path; // LOGFILE as typed
};

struct ReportCommand
{
    enum class Action { Report, Help, Version, Refuse };
    Action action = Action::Report;
    ReportOptions options;
    QString refusal; // with Refuse: what is wrong, in one line
};

// Options may come in any order, as "--by day" or "--by=day"; "--" ends
// them. --help and --version act where they stand: whatever came before
// them must be right, whatever follows is not read.
ReportCommand readReportArguments(int argc, const char *const *argv);

// When no LOGFILE was given and the current folder has none, but the log
// folder of a desktop start holds one: one line that names it. Empty
// otherwise.
QString desktopLogNote(const ReportOptions &options, const Analysis &analysis);

} // namespace core::analysis
