#include "platform/open_folder.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

OpenFolder::~OpenFolder()
{
    close();
}

void OpenFolder::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

std::optional<MoveError> OpenFolder::move(const QString& from, const QString& to)
{
    const qsizetype slash = from.lastIndexOf('/');
    const bool sameFolder = slash > 0 && from.size() > slash + 1 && to.size() > slash + 1 && to.at(slash) == '/'
                         && QStringView(to).first(slash) == QStringView(from).first(slash)
                         && to.indexOf('/', slash + 1) < 0;
    if (!sameFolder || m_unsupported) {
        close();
        return SafeMove::move(from, to);
    }
    if (m_fd < 0 || QStringView(from).first(slash) != m_path) {
        close();
        m_path = from.first(slash);
        m_fd = ::open(QFile::encodeName(m_path).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (m_fd < 0)
            return SafeMove::move(from, to);
    }
    const QByteArray a = QStringView(from).sliced(slash + 1).toUtf8();
    const QByteArray b = QStringView(to).sliced(slash + 1).toUtf8();
    // Called through syscall() so the build does not depend on the C library's wrapper.
    if (::syscall(SYS_renameat2, m_fd, a.constData(), m_fd, b.constData(), RENAME_NOREPLACE) == 0)
        return std::nullopt;
    if (errno == EINVAL || errno == ENOSYS)
        m_unsupported = true;
    return SafeMove::move(from, to);
}
