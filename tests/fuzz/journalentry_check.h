// SPDX-License-Identifier: MIT
#pragma once
// What every journal entry must satisfy, whatever bytes it holds: reading
// it ends without a crash or undefined behaviour, and an entry that reads
// names only our own logs, an absolute folder, and once written reads back
// as written (a length given with more than the 15 digits Tocka writes is
// rounded to them the first time). Shared by the fuzzer and by the unit test
// that replays the inputs the fuzzer once found failing.

#include "core/session/entryformat.h"

#include <QByteArray>
#include <QDir>

#include <cstdint>

namespace fuzzcheck {

// The rule an input breaks, or nullptr.
inline const char *checkEntry(const std::uint8_t *data, std::size_t size)
{
    using namespace core::session;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<EntryData> entry = parseEntry(bytes);
    if (!entry)
        return nullptr;
    if (!QDir::isAbsolutePath(entry->folder))
        return "an entry for a folder that is not absolute";
    const QList<OwedLog> ours = owedLogs();
    if (entry->logs.size() != ours.size())
        return "an entry owed to other logs than ours";
    for (qsizetype i = 0; i < ours.size(); ++i) {
        const OwedLog &log = entry->logs[i];
        if (log.name != ours[i].name)
            return "an entry owed to a log that is not ours";
        if (log.state == OwedLog::State::Noted && (log.record.isEmpty() || log.at < 0))
            return "a noted log without its offset or bytes";
    }
    const std::optional<EntryData> written = parseEntry(serializeEntry(*entry));
    if (!written)
        return "an entry that does not read back once written";
    if (written->logs != entry->logs || written->folder != entry->folder || written->away != entry->away)
        return "an entry whose logs, folder or time away change once written";
    const std::optional<EntryData> again = parseEntry(serializeEntry(*written));
    if (!again)
        return "an entry that does not read back once written twice";
    // Elapsed seconds that are not a number never equal themselves.
    EntryData a = *written, b = *again;
    if (a.record.elapsedSecs && *a.record.elapsedSecs != *a.record.elapsedSecs)
        a.record.elapsedSecs = b.record.elapsedSecs = 0.0;
    if (!(a == b))
        return "an entry that reads back changed when written again";
    return nullptr;
}

} // namespace fuzzcheck
