#include "platform/set_aside.h"

#include "model/file_item.h"
#include "platform/safe_move.h"

#include <QDateTime>

SetAside setAside(const QString& path)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    std::optional<MoveError> err;
    for (int n = 1; n <= 20; ++n) {
        const QString target = path + QStringLiteral(".damaged-") + stamp
                             + (n > 1 ? QStringLiteral("-%1").arg(n) : QString());
        err = SafeMove::move(path, target);
        if (!err)
            return {true, PathText::lastComponent(target), {}};
        if (!err->exists())
            break;
    }
    return {false, {}, err->text()};
}
