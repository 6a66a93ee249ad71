// SPDX-License-Identifier: MIT
#pragma once
// The words a user reads about what became of sessions: written once here,
// from what the session keeper reports.

#include "core/session/sessionkeeper.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace clockwindow {

// One text per session that an earlier run left owed: recovered, kept for
// the next start, or unreadable.
QStringList owedSessionMessages(const QList<core::session::SessionFate> &owed, const QLocale &locale = QLocale());

// What the user should know about this session when it ends; empty when
// every log has it.
QString endedSessionMessage(const core::session::SessionFate &session);

} // namespace clockwindow
