#pragma once
// The stored forms of the undo history and the rename log. Every key is required when reading,
// so a file that lost a key counts as damaged rather than as half a history.
#include "model/store.h"

#include <QByteArray>
#include <optional>

struct SavedMove {
    QString from;
    QString to;
};

struct SavedBatch {
    QDateTime date;
    QList<SavedMove> moves;
    QList<QByteArray> folderBookmarks;
};

namespace HistoryFile {
QByteArray encodeHistory(const QList<MoveBatch>& stack, const QList<QDateTime>& dates,
                         const QList<QList<QByteArray>>& bookmarks);
std::optional<QList<SavedBatch>> decodeHistory(const QByteArray& data);
QByteArray encodeLog(const QList<RenameLogEntry>& entries);
std::optional<QList<RenameLogEntry>> decodeLog(const QByteArray& data);
}  // namespace HistoryFile
