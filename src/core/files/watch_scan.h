#pragma once
// Listing of a watched folder: safe to run off the main thread (touches no shared state).
#include <QList>
#include <QString>

struct WatchScanEntry {
    QString path;
    qint64 size = 0;  // 0 when it cannot be read
    bool operator==(const WatchScanEntry&) const = default;
};

// The regular, non-hidden files of a folder (and its subfolders when recursive), in listing
// order. Names that are not valid UTF-8 are left out: they cannot be renamed safely.
QList<WatchScanEntry> listFolderFiles(const QString& folder, bool recursive);
