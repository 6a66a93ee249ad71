// SPDX-License-Identifier: MIT
#pragma once
// What every input of the session log must satisfy, whatever bytes it holds:
// the analysis ends without a crash or undefined behaviour, neither the
// reads' block size, reading ahead on a thread nor reading in two parts
// changes anything, a report has its thirteen lines, and a fault always
// comes with a message. Shared by the fuzzer and by the unit test that
// replays the inputs the fuzzer once found failing.

#include "core/analysis/analysis.h"
#include "core/analysis/outcome.h"
#include "core/analysis/report.h"
#include "support/memoryparts.h"

#include <QBuffer>
#include <QLocale>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace fuzzcheck {

inline core::analysis::Analysis analyseWithBlock(QByteArray bytes, qsizetype block,
    core::session::LogReader::ReadAhead ahead = core::session::LogReader::ReadAhead::No)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return core::analysis::analyse(buffer, block, nullptr, ahead);
}

inline bool sameTotals(const std::optional<core::analysis::Totals> &a, const std::optional<core::analysis::Totals> &b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a
        || (a->totalSeconds == b->totalSeconds && a->sessionCount == b->sessionCount && a->firstDate == b->firstDate
            && a->lastDate == b->lastDate);
}

// Returns a description of the first broken rule, or nullptr.
inline const char *check(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return nullptr;
    // The first byte picks the block size, so lines are cut everywhere.
    const qsizetype block = 1 + data[0] % 97;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));

    const core::analysis::Analysis small = analyseWithBlock(bytes, block);
    const core::analysis::Analysis large = analyseWithBlock(bytes, 1 << 16);
    if (small.fault.kind != large.fault.kind || small.fault.line != large.fault.line
        || small.records != large.records || !sameTotals(small.totals, large.totals))
        return "the block size changed the result";
    const core::analysis::Analysis ahead
        = analyseWithBlock(bytes, block, core::session::LogReader::ReadAhead::OnThread);
    if (small.fault.kind != ahead.fault.kind || small.fault.line != ahead.fault.line
        || small.fault.value != ahead.fault.value || small.records != ahead.records
        || !sameTotals(small.totals, ahead.totals))
        return "reading ahead on a thread changed the result";
    // Read in two parts at once, split near a place the input picks.
    const qint64 near = size > 1 ? static_cast<qint64>(bytes.size()) * data[size - 1] / 255 : 0;
    const core::analysis::Analysis parts = core::analysis::analyseInParts(partsOf(bytes), near);
    if (small.fault.kind != parts.fault.kind || small.fault.line != parts.fault.line
        || small.fault.recordLine != parts.fault.recordLine || small.fault.value != parts.fault.value
        || small.records != parts.records || !sameTotals(small.totals, parts.totals))
        return "reading in two parts changed the result";
    if (small.complete() && !small.totals)
        return "a complete reading without totals";
    if (small.totals.has_value() != (small.records > 0))
        return "totals without records, or records without totals";
    if (small.totals && small.totals->sessionCount < 1)
        return "a report of no session";

    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        const core::analysis::Outcome o = core::analysis::outcome(small, QStringLiteral("/fuzz/LogData.log"), locale);
        if (small.totals && o.report.size() != core::analysis::kReportLineCount)
            return "a report without its thirteen lines";
        if (o.complete() != small.complete())
            return "a fault without a message";
        if (core::analysis::captionText(o).isEmpty())
            return "nothing to show";
    }
    return nullptr;
}

} // namespace fuzzcheck
