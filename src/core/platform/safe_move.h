#pragma once
// Moves on disk that never replace an existing item. Every rename the application makes goes
// through here, so that a collision is an error and never a lost file.
#include <QString>
#include <optional>

struct MoveError {
    int code = 0;  // errno of the failed step
    QString from;  // the paths of the move that failed
    QString to;
    QString text() const;   // a short sentence in the current interface language
    bool exists() const;    // the destination is taken
    bool readOnly() const;  // the volume can't be written
};

namespace SafeMove {

// How the no-replace guarantee is obtained. Auto tries the atomic kernel call and falls back
// only where the file system lacks it; the others exist so the fallbacks can be exercised.
enum class Method { Auto, LinkUnlink, CheckedRename };

// Moves `from` to `to` within one volume; fails when anything exists at `to`. A change of
// letter case only that the volume refuses because it ignores case is done through a temporary
// name. Nothing is moved when an error is returned.
std::optional<MoveError> move(const QString& from, const QString& to, Method method = Method::Auto);

// True when an item exists at the path (a dangling symbolic link counts).
bool exists(const QString& path);

// A hidden name for an item parked during a batch: ".rntmp_" and an upper-case UUID.
QString temporaryName();
// True for a name made by temporaryName().
bool isTemporaryName(QStringView name);

// True when the two names differ only in letter case.
bool isCaseOnlyChange(const QString& from, const QString& to);

}  // namespace SafeMove
