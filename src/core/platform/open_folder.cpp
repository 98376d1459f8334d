#include "platform/open_folder.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace {

// A name's UTF-8 bytes, ending in a NUL. Short ASCII names, nearly all of them, are copied into
// the object itself: a large batch makes no heap copy of any name.
class EncodedName {
public:
    explicit EncodedName(QStringView name)
    {
        if (name.size() < qsizetype(sizeof m_buffer)) {
            qsizetype i = 0;
            for (; i < name.size() && name[i].unicode() < 0x80; ++i)
                m_buffer[i] = char(name[i].unicode());
            if (i == name.size()) {
                m_buffer[i] = '\0';
                return;
            }
        }
        m_heap = name.toUtf8();
    }
    EncodedName(const EncodedName&) = delete;
    EncodedName& operator=(const EncodedName&) = delete;
    const char* data() const { return m_heap.isNull() ? m_buffer : m_heap.constData(); }

private:
    char m_buffer[256];
    QByteArray m_heap;
};

}  // namespace

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
    const EncodedName a(QStringView(from).sliced(slash + 1));
    const EncodedName b(QStringView(to).sliced(slash + 1));
    // Called through syscall() so the build does not depend on the C library's wrapper.
    if (::syscall(SYS_renameat2, m_fd, a.data(), m_fd, b.data(), RENAME_NOREPLACE) == 0)
        return std::nullopt;
    if (errno == EINVAL || errno == ENOSYS)
        m_unsupported = true;
    return SafeMove::move(from, to);
}
