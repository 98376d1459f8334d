#pragma once
// The folder watch: new files of a watched folder are renamed in place by the batch rules once
// their size held still over two polls. Listing runs on the thread pool; everything else on the
// main thread, so the watch state needs no lock.
#include "files/watch_scan.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

class Store;
class QTimer;

class FolderWatch : public QObject {
public:
    explicit FolderWatch(Store& store) : m_store(store) {}

    void startWatching(const QString& folder, bool recursive);
    void stopWatching();
    void scanWatchFolder();  // one poll; the timer calls it every 2 s
    void processWatchScan(const QList<WatchScanEntry>& entries, const QString& folder);
    void autoRenameFile(const QString& path);

    const QSet<QString>& watchKnown() const { return m_watchKnown; }
    const QHash<QString, qint64>& watchPending() const { return m_watchPending; }
    bool watchScanning() const { return m_watchScanning; }
    bool watchTimerActive() const;

private:
    Store& m_store;
    QTimer* m_watchTimer = nullptr;
    QSet<QString> m_watchKnown;
    QHash<QString, qint64> m_watchPending;
    bool m_watchScanning = false;
};
