#include "file_handle.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileHandle openFileForReading(const QString& path)
{
    FileHandle h;
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        h.error = errno;
        return h;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        h.error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return h;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    h.fd = fd;
    return h;
}

void closeFileHandle(FileHandle& handle)
{
    if (handle.fd >= 0)
        ::close(handle.fd);
    handle.fd = -1;
}

QByteArray readFileHead(const FileHandle& handle, qint64 maxBytes)
{
    QByteArray out;
    if (!handle.isOpen() || maxBytes <= 0)
        return out;
    struct stat st {};
    const qint64 size = ::fstat(handle.fd, &st) == 0 ? qint64(st.st_size) : maxBytes;
    out.resize(qsizetype(qBound<qint64>(0, size, maxBytes)));
    qint64 got = 0;
    while (got < out.size()) {
        const ssize_t n = ::pread(handle.fd, out.data() + got, size_t(out.size() - got), off_t(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {};
        if (n == 0)
            break;
        got += n;
    }
    out.truncate(qsizetype(got));
    return out;
}
