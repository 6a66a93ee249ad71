// SPDX-License-Identifier: MIT
#pragma once
// The running program: the single-copy check, ending at once, and the folder
// it was started from.

#include <QString>

namespace platform {

class Process
{
public:
    virtual ~Process() = default;

    // True when this process is the only running copy; the answer holds for
    // the life of the process.
    virtual bool claimSingleInstance() = 0;
    // Why the claim failed when it was not another copy (something that is
    // not a lock file stands where the lock goes); empty otherwise.
    virtual QString singleInstanceProblem() const { return {}; }
    // Ends the process at once: no window is unloaded, no handler runs.
    [[noreturn]] virtual void endProcessNow() = 0;

    // Folder the program keeps its settings in.
    virtual QString programFolder() const = 0;
};

} // namespace platform
