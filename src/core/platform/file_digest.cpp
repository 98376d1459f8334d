#include "file_digest.h"

#include <QCryptographicHash>
#include <QFile>

QStringList sha256Hex(const QByteArray& digest)
{
    QStringList out;
    out.reserve(digest.size());
    for (char byte : digest)
        out << QString::asprintf("%02x", unsigned(static_cast<unsigned char>(byte)));
    return out;
}

std::optional<QByteArray> fileSha256(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&f))
        return std::nullopt;
    return hash.result();
}
