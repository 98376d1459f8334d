#include "folder_access.h"

#include <QFileInfo>

bool FolderAccess::startAccessing(const QString&)
{
    return true;
}

void FolderAccess::stopAccessing(const QString&) {}

bool FolderAccess::mayMove(const QString&, const QString&) const
{
    return true;
}

QByteArray FolderAccess::bookmark(const QString& folder) const
{
    return folder.toUtf8();
}

std::optional<QString> FolderAccess::resolveBookmark(const QByteArray& data) const
{
    const QString path = QString::fromUtf8(data);
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return std::nullopt;
    return path;
}
