#pragma once
// The stored forms of the undo history and the rename log. Every key is required when reading,
// so a file that lost a key counts as damaged rather than as half a history.
#include "model/store.h"

#include <QByteArray>
#include <functional>
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
// Takes each piece of a file's text as it is made; false stops the making (the write failed).
using Pieces = std::function<bool(const QByteArray& piece)>;

// The texts handed on in pieces of a quarter of a megabyte, so that a large history is never
// held whole while it is saved; false when `put` refused a piece.
bool encodeHistory(const QList<MoveBatch>& stack, const QList<QDateTime>& dates,
                   const QList<QList<QByteArray>>& bookmarks, const Pieces& put);
bool encodeLog(const QList<RenameLogEntry>& entries, const Pieces& put);

QByteArray encodeHistory(const QList<MoveBatch>& stack, const QList<QDateTime>& dates,
                         const QList<QList<QByteArray>>& bookmarks);
std::optional<QList<SavedBatch>> decodeHistory(const QByteArray& data);
QByteArray encodeLog(const QList<RenameLogEntry>& entries);
std::optional<QList<RenameLogEntry>> decodeLog(const QByteArray& data);
}  // namespace HistoryFile
