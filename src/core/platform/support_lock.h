#pragma once
// Only one process writes the undo history, the rename log and the presets: the one that holds
// this lock on the support folder. A second process (a launch that could not hand its files to a
// busy first one) still reads them, but saves none of them, so neither overwrites the other.
// The lock is the kernel's (flock), so it goes with the process, also after a crash.
#include <QString>

class SupportLock {
public:
    enum class State {
        held,         // this process writes the support files
        heldByOther,  // another process does; this one must not write them
        unavailable   // no lock could be made (no folder, a read-only disk): writes report their own failures
    };

    // Takes the lock on `folder` without waiting. The lock file sits beside the folder, so a
    // launch that saves nothing leaves the folder itself unmade.
    explicit SupportLock(const QString& folder);
    ~SupportLock();
    SupportLock(const SupportLock&) = delete;
    SupportLock& operator=(const SupportLock&) = delete;

    State state() const { return m_state; }
    // False only when another process holds the folder.
    bool mayWrite() const { return m_state != State::heldByOther; }

    static QString lockFilePath(const QString& folder);

private:
    int m_fd = -1;
    State m_state = State::unavailable;
};

// The launch notice of a process that does not hold the lock, in the current interface language.
QString supportFolderInUseNotice();
