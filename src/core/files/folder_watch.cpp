// The folder watch: new files of a watched folder are renamed in place by the batch rules once
// their size held still over two polls. Listing runs on the thread pool; everything else on the
// main thread, so the watch state needs no lock.
#include "files/folder_watch.h"

#include "files/history.h"
#include "files/scoped_access.h"
#include "files/watch_rules.h"
#include "model/name_validation.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QFile>
#include <QFutureWatcher>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <sys/stat.h>

void FolderWatch::startWatching(const QString& folder, bool recursive)
{
    stopWatching();
    const QString root = PathText::standardized(folder);
    m_watchKnown.clear();
    for (const WatchScanEntry& e : listFolderFiles(root, recursive))
        m_watchKnown.insert(e.path);
    m_watchPending.clear();
    m_watchTimer = new QTimer(this);
    m_watchTimer->setInterval(2000);
    m_watchTimer->setTimerType(Qt::CoarseTimer);  // lets the system bundle wake-ups
    connect(m_watchTimer, &QTimer::timeout, this, &FolderWatch::scanWatchFolder);
    m_watchTimer->start();
    m_store.editWatch([&](FolderWatchState& w) {
        w.watchFolder = root;
        w.watchCount = 0;
        w.watchRecursive = recursive;
    });
    const QString name = PathText::lastComponent(root);
    if (recursive)
        m_store.setStatus(
            L("Watching “", "正在监控「") + name
            + L("” and its subfolders — new files auto-renamed.", "」及其子文件夹 —— 新进文件将自动重命名。"));
    else
        m_store.setStatus(L("Watching “", "正在监控「") + name
                          + L("” — new files auto-renamed.", "」—— 新文件将自动重命名。"));
}

void FolderWatch::stopWatching()
{
    if (m_watchTimer) {
        m_watchTimer->stop();
        m_watchTimer->deleteLater();
        m_watchTimer = nullptr;
    }
    m_store.editWatch([](FolderWatchState& w) { w.watchFolder.reset(); });
}

bool FolderWatch::watchTimerActive() const
{
    return m_watchTimer && m_watchTimer->isActive();
}

void FolderWatch::scanWatchFolder()
{
    const FolderWatchState& w = m_store.watchState();
    if (!w.watchFolder || m_watchScanning)
        return;
    m_watchScanning = true;
    const QString folder = *w.watchFolder;
    const bool recursive = w.watchRecursive;
    auto* watcher = new QFutureWatcher<QList<WatchScanEntry>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, folder] {
        watcher->deleteLater();
        processWatchScan(watcher->result(), folder);
    });
    watcher->setFuture(QtConcurrent::run(listFolderFiles, folder, recursive));
}

void FolderWatch::processWatchScan(const QList<WatchScanEntry>& entries, const QString& folder)
{
    m_watchScanning = false;
    if (m_store.watchState().watchFolder != folder)
        return;  // stopped or moved on while the listing ran
    QHash<QString, qint64> next;
    for (const WatchScanEntry& e : entries) {
        if (m_watchKnown.contains(e.path))
            continue;
        const auto pending = m_watchPending.constFind(e.path);
        if (pending != m_watchPending.cend() && *pending == e.size) {
            m_watchKnown.insert(e.path);
            autoRenameFile(e.path);
            continue;
        }
        next.insert(e.path, e.size);
    }
    m_watchPending = std::move(next);
}

void FolderWatch::autoRenameFile(const QString& path)
{
    const FileItem item = FileItem::file(path);
    const QString stem = watchStem(m_store, item, m_store.watchState().watchCount);
    const QString newName = item.ext.isEmpty() ? stem : stem + QLatin1Char('.') + item.ext;
    if (newName == item.name || validateNewName(newName, item.name))
        return;
    const QString target = PathText::parent(path) + QLatin1Char('/') + newName;
    struct stat st {};
    if (::lstat(QFile::encodeName(target).constData(), &st) == 0)
        return;
    if (m_store.access().coordinatedMove(path, target))
        return;  // failed: the file keeps its name, silently
    m_watchKnown.insert(target);
    m_store.editWatch([](FolderWatchState& w) { ++w.watchCount; });
    m_store.history().appendRenameLog({Move{path, target}}, RenameLogEntry::Action::automatic);
    m_store.setStatus(L("Auto-renamed ", "自动重命名 ") + item.name + QStringLiteral(" → ") + newName);
}
