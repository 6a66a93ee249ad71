// SPDX-License-Identifier: MIT
#pragma once
// What every LogAway.log must satisfy, whatever bytes it holds, beside a
// fixed LogData.log: the reading ends without a crash or undefined
// behaviour; the sessions and their seconds are those of the log without
// LogAway.log; the time away is the same read in order, in tiny blocks and
// in two parts, wherever the later part starts reading LogAway.log; and
// every line reads as session::parseAwayLine reads it. Shared by the fuzzer
// and by the unit test that replays its corpus.

#include "core/analysis/analysis.h"
#include "core/analysis/history.h"
#include "core/session/awayline.h"
#include "core/session/record.h"
#include "support/memoryparts.h"

#include <QBuffer>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace fuzzcheck {

// Sessions in December 2026, two of them with the same start and end, one
// not counted; an away log for them is in the seeds.
inline QByteArray awayFuzzLog()
{
    QByteArray out;
    for (int i = 0; i < 12; ++i) {
        const int at = i == 5 ? 4 : i;
        out += core::session::dataForm({QDate(2026, 12, 7 + at / 4), QTime(8 + at, 0, 0), QTime(8 + at, 30, 0),
                                        i == 9 ? 0.0 : 1800.5 + i, QString()});
    }
    return out;
}

inline std::vector<core::analysis::HistoryRow> awayRowsOf(const QByteArray &log,
                                                          const core::analysis::AwaySource *away,
                                                          std::optional<qint64> splitNear = std::nullopt)
{
    core::analysis::History days(core::analysis::Period::Day);
    if (splitNear) {
        core::analysis::analyseInParts([&log](qint64 from, qint64 to) { return partOf(log, from, to); },
                                       *splitNear, &days, away);
    } else {
        QByteArray bytes = log;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        core::analysis::analyse(buffer, 4096, &days, core::session::LogReader::ReadAhead::No, away);
    }
    return days.rows();
}

// Returns a description of the first broken rule, or nullptr. The first
// byte picks the block size, the second the window, the last where the log
// and LogAway.log split; the bytes between are LogAway.log.
inline const char *checkAway(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return nullptr;
    const QByteArray awayLog(reinterpret_cast<const char *>(data + 2), static_cast<qsizetype>(size - 3));
    const QByteArray log = awayFuzzLog();
    core::analysis::AwaySource source;
    source.open = [&awayLog](qint64 from, qint64 to) { return partOf(awayLog, from, to); };
    source.size = awayLog.size();
    source.window = data[1] < 128 ? 1 + data[1] % 8 : core::analysis::kAwayWindow;

    const std::vector<core::analysis::HistoryRow> without = awayRowsOf(log, nullptr);
    const std::vector<core::analysis::HistoryRow> inOrder = awayRowsOf(log, &source);
    if (inOrder.size() != without.size())
        return "LogAway.log changed the periods";
    for (std::size_t i = 0; i < inOrder.size(); ++i) {
        if (inOrder[i].period != without[i].period || inOrder[i].sessions != without[i].sessions
            || inOrder[i].seconds != without[i].seconds)
            return "LogAway.log changed the sessions or their seconds";
        if (inOrder[i].away < 0)
            return "time away below zero";
    }
    source.blockSize = 1 + data[0] % 97;
    if (awayRowsOf(log, &source) != inOrder)
        return "the block size changed the time away";
    source.blockSize = 64 * 1024;
    const qint64 near = log.size() * data[size - 1] / 255;
    if (awayRowsOf(log, &source, near) != inOrder)
        return "reading in two parts changed the time away";
    source.laterFrom = awayLog.size() * data[0] / 255;
    if (awayRowsOf(log, &source, near) != inOrder)
        return "reading in two parts from another place in LogAway.log changed the time away";

    // Line by line: a CR, an LF or both end one.
    qsizetype from = 0;
    for (qsizetype i = 0; i <= awayLog.size(); ++i) {
        if (i < awayLog.size() && awayLog[i] != '\r' && awayLog[i] != '\n')
            continue;
        const QByteArrayView line = QByteArrayView(awayLog).sliced(from, i - from);
        from = i + 1;
        const std::optional<core::session::AwayLine> parsed = core::session::parseAwayLine(line);
        qint64 key = 0, away = 0;
        if (core::analysis::readAwayLine(line, key, away) != parsed.has_value())
            return "a line read otherwise than parseAwayLine reads it";
        if (parsed
            && (key != core::session::sessionKey(parsed->endDate, parsed->startTime, parsed->endTime)
                || away != std::min(parsed->away.withinLength(), qint64(1) << 32)))
            return "a line's session or time away read otherwise than parseAwayLine reads them";
    }
    return nullptr;
}

} // namespace fuzzcheck
