// SPDX-License-Identifier: MIT
#pragma once
// Time away from the computer, kept beside every session in a log of its
// own, LogAway.log, one line a session in the order the sessions reach the
// logs:
//
//     2026-12-07,09:15:02,17:40:11,3600,900,600
//
// the session's date, start and end time exactly as its LogData.log record
// holds them (without the #s), then the whole seconds away by cause: asleep
// (the machine suspended or hibernated), locked (the screen locked) and idle
// (no keyboard or pointer input for a while). Each second away counts once,
// under the first of these causes that holds. Lines end in CR LF, as the
// other two logs' do (and as CSV files do); a reader takes LF or CR too.
//
// Only asleep time lies outside a session's length: the session clock does
// not run while the machine sleeps. Locked and idle time are part of it.

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QTime>

#include <optional>

namespace core::session {

inline constexpr char kAwayLogFileName[] = "LogAway.log";

struct AwaySeconds
{
    qint64 asleep = 0;
    qint64 locked = 0;
    qint64 idle = 0;

    // The part of the session's length spent away.
    qint64 withinLength() const { return locked + idle; }
    friend bool operator==(const AwaySeconds &, const AwaySeconds &) = default;
};

struct AwayLine
{
    QDate endDate;
    QTime startTime;
    QTime endTime;
    AwaySeconds away;

    friend bool operator==(const AwayLine &, const AwayLine &) = default;
};

// The line for a session, with its CR LF.
QByteArray awayLine(const AwayLine &line);

// A line without its line end. nullopt for anything that is not one as
// awayLine writes it (a reader passes such a line over): a date or time
// that is no such, a count that is not a whole number from 0 to 10^12 - 1,
// a field too many or too few.
std::optional<AwayLine> parseAwayLine(QByteArrayView line);

// The session a line or a record stands for, as one number: its date, start
// and end time. Lines and records pair up by it.
qint64 sessionKey(const QDate &endDate, const QTime &startTime, const QTime &endTime);

} // namespace core::session
