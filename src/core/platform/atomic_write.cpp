#include "atomic_write.h"

#include <QSaveFile>

QString writeAtomically(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile commits even when its final flush failed (a full disk),
    // which would swap an empty file in for the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(data) != data.size() || !file.flush()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
