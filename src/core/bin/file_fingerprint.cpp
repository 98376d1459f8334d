#include "file_fingerprint.h"

#include "platform/file_handle.h"

#include <QCryptographicHash>
#include <QFile>
#include <sys/stat.h>

std::optional<QString> fileFingerprint(const QString& path)
{
    // The size is the file system's, not the count of bytes read, so that two files that
    // differ only in length beyond the first 512 KiB never match.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    FileHandle handle = openFileForReading(path);
    if (!handle.isOpen())
        return std::nullopt;
    const QByteArray head = readFileHead(handle, fingerprintBytes);
    closeFileHandle(handle);
    const QByteArray digest = QCryptographicHash::hash(head, QCryptographicHash::Sha256);
    return QString::number(qint64(st.st_size)) + u'-' + QString::fromLatin1(digest.toHex());
}
