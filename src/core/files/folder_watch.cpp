// The folder watch: new files of a watched folder are renamed in place by the batch rules once
// their size held still over two polls. Listing runs on the thread pool; everything else on the
// main thread, so the watch state needs no lock.
#include "files/dir_walk.h"
#include "files/watch_rules.h"
#include "files/watch_scan.h"
#include "model/name_validation.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QFile>
#include <QFutureWatcher>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <sys/stat.h>

QList<WatchScanEntry> listFolderFiles(const QString& folder, bool recursive)
{
    QList<WatchScanEntry> out;
    DirWalk::Options options;
    options.recursive = recursive;
    options.wantSize = true;
    DirWalk::walk(PathText::standardized(folder), options, [&](const DirWalk::Entry& e) {
        if (e.kind == DirWalk::Kind::Regular)
            out << WatchScanEntry{e.path(), qMax<qint64>(e.size, 0)};
    });
    return out;
}

void Store::startWatching(const QString& folder, bool recursive)
{
    stopWatching();
    m_watch.watchFolder = PathText::standardized(folder);
    m_watch.watchCount = 0;
    m_watch.watchRecursive = recursive;
    m_watchKnown.clear();
    for (const WatchScanEntry& e : listFolderFiles(*m_watch.watchFolder, recursive))
        m_watchKnown.insert(e.path);
    m_watchPending.clear();
    m_watchTimer = new QTimer(this);
    m_watchTimer->setInterval(2000);
    m_watchTimer->setTimerType(Qt::CoarseTimer);  // lets the system bundle wake-ups
    connect(m_watchTimer, &QTimer::timeout, this, &Store::scanWatchFolder);
    m_watchTimer->start();
    publish(Group::Watch);
    const QString name = PathText::lastComponent(*m_watch.watchFolder);
    if (recursive)
        setStatus(L("Watching “", "正在监控「") + name
                  + L("” and its subfolders — new files auto-renamed.", "」及其子文件夹 —— 新进文件将自动重命名。"));
    else
        setStatus(L("Watching “", "正在监控「") + name + L("” — new files auto-renamed.", "」—— 新文件将自动重命名。"));
}

void Store::stopWatching()
{
    if (m_watchTimer) {
        m_watchTimer->stop();
        m_watchTimer->deleteLater();
        m_watchTimer = nullptr;
    }
    m_watch.watchFolder.reset();
    publish(Group::Watch);
}

bool Store::watchTimerActive() const { return m_watchTimer && m_watchTimer->isActive(); }

void Store::scanWatchFolder()
{
    if (!m_watch.watchFolder || m_watchScanning)
        return;
    m_watchScanning = true;
    const QString folder = *m_watch.watchFolder;
    const bool recursive = m_watch.watchRecursive;
    auto* watcher = new QFutureWatcher<QList<WatchScanEntry>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, folder] {
        watcher->deleteLater();
        processWatchScan(watcher->result(), folder);
    });
    watcher->setFuture(QtConcurrent::run(listFolderFiles, folder, recursive));
}

void Store::processWatchScan(const QList<WatchScanEntry>& entries, const QString& folder)
{
    m_watchScanning = false;
    if (m_watch.watchFolder != folder)
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

void Store::autoRenameFile(const QString& path)
{
    const FileItem item = FileItem::file(path);
    const QString stem = watchStem(*this, item, m_watch.watchCount);
    const QString newName = item.ext.isEmpty() ? stem : stem + QLatin1Char('.') + item.ext;
    if (newName == item.name || validateNewName(newName, item.name))
        return;
    const QString target = PathText::parent(path) + QLatin1Char('/') + newName;
    struct stat st{};
    if (::lstat(QFile::encodeName(target).constData(), &st) == 0)
        return;
    if (coordinatedMove(path, target))
        return;  // failed: the file keeps its name, silently
    m_watchKnown.insert(target);
    ++m_watch.watchCount;
    publish(Group::Watch);
    appendRenameLog({Move{path, target}}, RenameLogEntry::Action::automatic);
    setStatus(L("Auto-renamed ", "自动重命名 ") + item.name + QStringLiteral(" → ") + newName);
}
