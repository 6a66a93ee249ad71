// SPDX-License-Identifier: MIT
#include "clock/sessionmessages.h"

#include "core/text/regional.h"

#include <QDir>

namespace clockwindow {

using core::session::SessionFate;

namespace {

QString lengthText(const core::session::SessionRecord &r)
{
    return r.clockText.isEmpty() ? QStringLiteral("0:00:00") : r.clockText;
}

} // namespace

QStringList owedSessionMessages(const QList<SessionFate> &owed, const QLocale &locale)
{
    QStringList out;
    for (const SessionFate &fate : owed) {
        const QString when = core::text::shortDate(fate.record.endDate, locale) + QLatin1Char(' ')
            + core::text::timeWithSeconds(fate.record.endTime, locale);
        switch (fate.kind) {
        case SessionFate::Kind::Logged:
            out << QStringLiteral("Tocka recovered a session that was not logged when it ended: %1 long, "
                                  "last seen running on %2. It has been added to the logs in %3.")
                       .arg(lengthText(fate.record), when, QDir::toNativeSeparators(fate.folder));
            break;
        case SessionFate::Kind::Kept:
        case SessionFate::Kind::Lost:
            out << QStringLiteral("Tocka found a session that was not logged when it ended (%1 long, last "
                                  "seen running on %2), but could not add it to every log: %3. It is kept "
                                  "and will be tried again at the next start.")
                       .arg(lengthText(fate.record), when, fate.errors.join(QLatin1String("; ")));
            break;
        case SessionFate::Kind::Waiting:
            out << QStringLiteral("A session left behind by an earlier run cannot be recovered yet: %1. "
                                  "It will be tried again at the next start.")
                       .arg(fate.errors.join(QLatin1String("; ")));
            break;
        case SessionFate::Kind::Unreadable:
            out << QStringLiteral("A session left behind by an earlier run could not be recovered: %1. "
                                  "The file is kept for you to look at.")
                       .arg(fate.errors.join(QLatin1String("; ")));
            break;
        }
    }
    return out;
}

QString endedSessionMessage(const SessionFate &session)
{
    if (session.kind != SessionFate::Kind::Kept && session.kind != SessionFate::Kind::Lost)
        return {};
    QString message = QStringLiteral("Tocka could not write this session to the log: %1.")
                          .arg(session.errors.join(QLatin1String("; ")));
    message += session.kind == SessionFate::Kind::Kept
        ? QStringLiteral(" The session is kept and will be written at the next start.")
        : QStringLiteral(" Keeping it for the next start failed as well.");
    return message;
}

} // namespace clockwindow
