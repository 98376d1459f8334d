// Placeholder engine: every item keeps its name until the rule engine lands.
#include "model/name_validation.h"
#include "model/store.h"

#include <sys/stat.h>

QString Store::newName(const FileItem& item, int, const QSet<QUuid>&) const { return item.name; }

QString Store::smartFixed(const QString& stem) const { return stem; }

Store::ConflictResult Store::conflictReasons(const QSet<QUuid>&) const { return {}; }

std::optional<QString> validateNewName(const QString& proposed, const QString&)
{
    if (proposed.isEmpty())
        return QStringLiteral("the new name is empty");
    if (proposed.contains('/'))
        return QStringLiteral("“/” isn't allowed in a file name");
    return std::nullopt;
}

bool isSameFile(const QString& a, const QString& b)
{
    struct stat sa{}, sb{};
    if (::lstat(a.toUtf8().constData(), &sa) != 0 || ::lstat(b.toUtf8().constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
