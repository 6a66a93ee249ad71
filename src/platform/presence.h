// SPDX-License-Identifier: MIT
#pragma once
// What the desktop says about the user being at the computer: how long since
// the last input, whether the screen is locked, whether a program (a film, a
// talk) holds idleness off. Readings only: what counts as time away is decided
// by whoever reads them.

#include <QtGlobal>

#include <functional>
#include <optional>

namespace platform {

class Presence
{
public:
    virtual ~Presence() = default;

    // Milliseconds since the last keyboard or pointer input, on the monotonic
    // clock's scale (time asleep is not in it); nullopt where the desktop
    // says nothing. Read at a tick the caller already has; cheap (one round
    // trip at most).
    virtual std::optional<qint64> idleMs() = 0;
    // Whether the session's screen is locked now, kept up to date by events
    // from the first call of this or watchLock() on (so not const: the first
    // call starts the watching).
    virtual bool screenLocked() = 0;
    // Whether a program holds off idleness: nullopt until the first answer
    // comes, then the latest answer while it is a few seconds old, nullopt
    // again while an older one is asked anew. Asking starts when this is
    // called, a few seconds after the last answer at the earliest, and never
    // blocks; it is not asked otherwise. (The latest answer rather than
    // nothing while a newer one is asked for: the caller reads every few
    // seconds while nobody is there, and the asking always starts in a call
    // and ends after it.)
    virtual std::optional<bool> idleInhibited() = 0;
    // Calls `changed(locked, monotonicMs)` from the event loop whenever the
    // lock state changes; one watcher at a time (an empty function stops the
    // calls).
    virtual void watchLock(std::function<void(bool locked, qint64 monotonicMs)> changed) = 0;
};

} // namespace platform
