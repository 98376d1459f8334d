#include "platform/support_lock.h"

#include "platform/lang.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SupportLock::SupportLock(const QString& folder)
{
    if (folder.isEmpty())
        return;
    const QString lockPath = lockFilePath(folder);
    if (!QDir().mkpath(QFileInfo(lockPath).absolutePath()))
        return;
    const QByteArray path = QFile::encodeName(lockPath);
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0)
        m_fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);  // a lock file we may only read
    if (m_fd < 0)
        return;
    int rc;
    do
        rc = ::flock(m_fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        m_state = State::held;
        return;
    }
    m_state = errno == EWOULDBLOCK ? State::heldByOther : State::unavailable;
    ::close(m_fd);
    m_fd = -1;
}

QString SupportLock::lockFilePath(const QString& folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath()) + QStringLiteral(".lock");
}

SupportLock::~SupportLock()
{
    if (m_fd >= 0)
        ::close(m_fd);  // closing releases the lock
}

QString supportFolderInUseNotice()
{
    return L("Brindlecove is already running in another window, which keeps the undo history, rename log and presets; "
             "this window will not save them.",
             "Brindlecove 已在另一个窗口中运行,由它保存撤销历史、重命名日志和预设;此窗口不会保存它们。");
}
