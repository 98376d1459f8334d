#pragma once
// Where a file that was parked under a temporary name goes when it can't go where it was meant
// to: back to `preferred`, or when that is taken to "stem (n).ext" beside it. Never left hidden.
#include "model/file_item.h"

#include <QString>
#include <functional>
#include <optional>

// `tryMove` performs one no-replace move to the given path and says whether it worked.
// Returns where the file landed, or nothing when every name was refused.
inline std::optional<QString> rescueTarget(const QString& preferred, const std::function<bool(const QString&)>& tryMove)
{
    if (tryMove(preferred))
        return preferred;
    const QString folder = PathText::parent(preferred);
    const QString name = PathText::lastComponent(preferred);
    const QString stem = PathText::withoutExtension(name);
    const QString ext = PathText::extension(name);
    for (int n = 1; n <= 99; ++n) {
        const QString candidate = folder + '/' + stem + QStringLiteral(" (%1)").arg(n)
                                + (ext.isEmpty() ? QString() : '.' + ext);
        if (tryMove(candidate))
            return candidate;
    }
    return std::nullopt;
}
