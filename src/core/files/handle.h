// SPDX-License-Identifier: MIT
#pragma once
// An open file as core works with it once it is open: locking it, reading
// at a position, cutting it back, making it durable. Every system call core
// makes goes through here or safefile.h; their implementations sit in the
// folder of the system being built for (unix/), which the build picks.

#include <QString>

namespace core::files {

class Handle
{
public:
    Handle() = default;
    explicit Handle(int descriptor)
        : fd_(descriptor)
    {
    }
    ~Handle() { close(); }
    Handle(Handle &&other) noexcept
        : fd_(other.release())
    {
    }
    Handle &operator=(Handle &&other) noexcept;
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int descriptor() const { return fd_; }
    int release();
    // Closing lets go of a lock taken through this handle.
    void close();

    // An exclusive lock on the whole file (flock): held until the handle is
    // closed, dropped by the system when the process ends in any way.
    bool lock(int *error = nullptr);    // waits for it
    bool tryLock(int *error = nullptr); // false at once when another holder has it

    // The file's size, -1 with `error` (an errno value) on failure.
    qint64 size(int *error = nullptr) const;
    // Up to `max` bytes at offset `at`: the count read, 0 at the end, -1 with
    // `error` on failure; interruptions are gone through.
    qint64 readAt(char *data, qint64 max, qint64 at, int *error = nullptr) const;
    // Reads exactly `size` bytes at `at` unless the file ends first: the
    // count read, -1 on failure.
    qint64 readFullyAt(char *data, qint64 size, qint64 at, int *error = nullptr) const;
    // All of `data`, going on after interruptions and short writes: at the
    // file's offset, or at `at` (when not below 0) without moving it.
    bool writeAll(const char *data, qint64 size, int *error = nullptr);
    bool writeAllAt(const char *data, qint64 size, qint64 at, int *error = nullptr);
    bool truncate(qint64 size, int *error = nullptr);
    // The written data on the disk. A file that cannot be synced (a pipe,
    // a read-only file system) counts as synced.
    bool syncData(int *error = nullptr);
    // True while `path` still names this very file (not one put in its place
    // since, nor nothing).
    bool isAt(const QString &path) const;

private:
    int fd_ = -1;
};

// A lock file beside what it guards: opened or created (0600), never through
// a link, never blocking on a FIFO. An invalid handle with `error` otherwise.
Handle openLockFile(const QString &path, int *error = nullptr);

// Removes a file; true when it is gone (or was not there).
bool removeFile(const QString &path);
// Moves `from` over `to` in one step; false with `error`.
bool renameFile(const QString &from, const QString &to, int *error = nullptr);

// This process's id, for names of files only this process writes.
qint64 processId();

} // namespace core::files
