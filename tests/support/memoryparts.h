// SPDX-License-Identifier: MIT
#pragma once
// Logs read from memory: the parts a reading in two parts opens, and
// LogAway.log as a source of such parts.

#include "core/analysis/analysis.h"

#include <QBuffer>
#include <QByteArray>

#include <memory>

// The bytes from `from` up to `to` (to the end when `to` is below 0).
inline std::unique_ptr<QIODevice> partOf(const QByteArray &bytes, qint64 from, qint64 to)
{
    auto part = std::make_unique<QBuffer>();
    part->setData(bytes.mid(from, to < 0 ? -1 : to - from));
    part->open(QIODevice::ReadOnly);
    return part;
}

// The parts of `bytes` (kept by the source itself), for any reading.
inline core::analysis::PartOpener partsOf(const QByteArray &bytes)
{
    return [bytes](qint64 from, qint64 to) { return partOf(bytes, from, to); };
}

// `away` as the LogAway.log beside a log read from memory.
inline core::analysis::AwaySource awaySourceOf(const QByteArray &away)
{
    core::analysis::AwaySource source;
    source.open = partsOf(away);
    source.size = away.size();
    return source;
}
