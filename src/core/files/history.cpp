// The undo history and the rename log: bookkeeping, saving, loading and undo.
#include "files/history.h"

#include "files/history_file.h"
#include "files/item_bookkeeping.h"
#include "files/path_remap.h"
#include "files/rescue_move.h"
#include "files/scoped_access.h"
#include "model/file_dates.h"
#include "platform/lang.h"
#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QFutureWatcher>
#include <QLocale>
#include <QTimer>
#include <QtConcurrent>

namespace {

constexpr int kMaxBatches = 50;
constexpr int kMaxLogEntries = 20000;

struct UndoOutcome {
    int restored = 0;
    int failed = 0;
    QString lastError;
};

// A stored file that can't be read is kept under another name, so no save can overwrite it.
struct SetAside {
    bool moved = false;
    QString newName;
    QString error;
};

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

QString damagedMessage(bool history, const SetAside& aside)
{
    if (aside.moved)
        return history
                 ? L(QStringLiteral("The undo history could not be read; the file was kept as “%1”.")
                         .arg(aside.newName),
                     QStringLiteral("无法读取撤销历史;该文件已保留为「%1」。").arg(aside.newName))
                 : L(QStringLiteral("The rename log could not be read; the file was kept as “%1”.").arg(aside.newName),
                     QStringLiteral("无法读取重命名日志;该文件已保留为「%1」。").arg(aside.newName));
    return history
             ? L(QStringLiteral("The undo history could not be read or set aside (%1); it will not be overwritten.")
                     .arg(aside.error),
                 QStringLiteral("无法读取撤销历史,也无法将其移开(%1);该文件不会被覆盖。").arg(aside.error))
             : L(QStringLiteral("The rename log could not be read or set aside (%1); it will not be overwritten.")
                     .arg(aside.error),
                 QStringLiteral("无法读取重命名日志,也无法将其移开(%1);该文件不会被覆盖。").arg(aside.error));
}

// Reads a stored file; nothing when it is missing. `damaged` is set when it exists but can't be read.
std::optional<QByteArray> readStored(const QString& path, bool& damaged)
{
    damaged = false;
    if (path.isEmpty() || !SafeMove::exists(path))
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        damaged = true;
        return std::nullopt;
    }
    return f.readAll();
}

}  // namespace

// Without a support folder nothing is read or written (never a file in the working folder).
QString History::historyFilePath() const
{
    const QString folder = m_store.supportFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath("undo-history.json");
}

QString History::renameLogFilePath() const
{
    const QString folder = m_store.supportFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath("rename-log.json");
}

void History::loadHistory()
{
    QStringList problems;
    bool damaged = false;
    const QString logPath = renameLogFilePath();
    std::optional<QList<RenameLogEntry>> log;
    if (auto data = readStored(logPath, damaged)) {
        log = HistoryFile::decodeLog(*data);
        damaged = !log;
    }
    if (damaged) {
        const SetAside aside = setAside(logPath);
        if (!aside.moved)
            m_unwritableFiles.insert(logPath);
        problems << damagedMessage(false, aside);
    }

    const QString historyPath = historyFilePath();
    std::optional<QList<SavedBatch>> batches;
    if (auto data = readStored(historyPath, damaged)) {
        batches = HistoryFile::decodeHistory(*data);
        damaged = !batches;
    }
    if (damaged) {
        const SetAside aside = setAside(historyPath);
        if (!aside.moved)
            m_unwritableFiles.insert(historyPath);
        problems << damagedMessage(true, aside);
    }

    m_store.editHistory([&](HistoryState& h) {
        if (log)
            h.renameLog = *log;
        if (batches) {
            QList<QByteArray> bookmarks;
            for (const SavedBatch& b : *batches) {
                MoveBatch moves;
                for (const SavedMove& m : b.moves)
                    moves << Move{m.from, m.to};
                h.undoStack << moves;
                h.undoDates << b.date;
                h.undoBookmarks << b.folderBookmarks;
                bookmarks << b.folderBookmarks;
            }
            resolveHistoryBookmarks(bookmarks);
        }
        h.historyLoaded = true;
    });
    if (!problems.isEmpty())
        m_store.setLastingStatus(problems.join(' '));
}

void History::resolveHistoryBookmarks(const QList<QByteArray>& bookmarks)
{
    if (bookmarks.isEmpty())
        return;
    // Resolving touches the disk; the result comes back to the main thread, and not at all
    // once the Store is gone (the watcher is its child).
    auto* watcher = new QFutureWatcher<QStringList>(this);
    connect(watcher, &QFutureWatcher<QStringList>::finished, this, [this, watcher] {
        addHistoryScopedFolders(watcher->result());
        watcher->deleteLater();
    });
    std::shared_ptr<FolderAccess> access = m_store.services().folderAccess;
    watcher->setFuture(QtConcurrent::run([access, bookmarks] {
        QStringList folders;
        for (const QByteArray& b : bookmarks)
            if (auto folder = access->resolveBookmark(b); folder && !folders.contains(*folder))
                folders << *folder;
        return folders;
    }));
}

void History::addHistoryScopedFolders(const QStringList& folders)
{
    FolderAccess& access = *m_store.services().folderAccess;
    m_store.editHistory([&](HistoryState& h) {
        for (const QString& folder : folders)
            if (access.startAccessing(folder))
                h.historyScopedFolders << folder;
    });
}

void History::historyDidChange(HistoryState& h, int previousCount)
{
    if (!h.historyLoaded)
        return;
    const int count = int(h.undoStack.size());
    if (count <= previousCount) {
        if (h.undoDates.size() > count)
            h.undoDates.resize(count);
        if (h.undoBookmarks.size() > count)
            h.undoBookmarks.resize(count);
    } else {
        for (int i = previousCount; i < count; ++i) {
            h.undoDates << QDateTime::currentDateTime();
            h.undoBookmarks << folderBookmarks(h.undoStack[i]);
            appendRenameLog(h.undoStack[i], RenameLogEntry::Action::rename);
        }
    }
    if (count > kMaxBatches) {
        const int drop = count - kMaxBatches;
        h.undoStack.remove(0, drop);
        h.undoDates.remove(0, qMin<qsizetype>(drop, h.undoDates.size()));
        h.undoBookmarks.remove(0, qMin<qsizetype>(drop, h.undoBookmarks.size()));
    }
    scheduleSave(m_historySaveScheduled, &History::saveHistoryAsync);
}

QList<QByteArray> History::folderBookmarks(const MoveBatch& moves) const
{
    QSet<QString> seen;
    QList<QByteArray> out;
    auto add = [&](const QString& path) {
        const QString folder = PathText::parent(path);
        if (seen.contains(folder))
            return;
        seen.insert(folder);
        const QByteArray mark = m_store.services().folderAccess->bookmark(folder);
        if (!mark.isEmpty())
            out << mark;
    };
    for (const Move& m : moves) {
        add(m.from);
        add(m.to);
    }
    return out;
}

void History::appendRenameLog(const MoveBatch& moves, RenameLogEntry::Action action)
{
    if (moves.isEmpty())
        return;
    const QDateTime now = QDateTime::currentDateTime();
    // Entries beyond the cap would be dropped at once; don't make them.
    const qsizetype first = qMax<qsizetype>(0, moves.size() - kMaxLogEntries);
    m_store.editHistory([&](HistoryState& h) {
        QList<RenameLogEntry>& log = h.renameLog;
        log.reserve(log.size() + moves.size() - first);
        for (qsizetype i = first; i < moves.size(); ++i)
            log << RenameLogEntry{QUuid::createUuid(), now, action, moves[i].from, moves[i].to};
        if (log.size() > kMaxLogEntries)
            log.remove(0, log.size() - kMaxLogEntries);
    });
    scheduleSave(m_logSaveScheduled, &History::saveRenameLogAsync);
}

void History::clearRenameLog()
{
    m_store.editHistory([](HistoryState& h) { h.renameLog.clear(); });
    scheduleSave(m_logSaveScheduled, &History::saveRenameLogAsync);
}

void History::scheduleSave(bool& flag, void (History::*save)())
{
    if (flag)
        return;
    flag = true;
    // A save that quitting already ran leaves nothing to do here.
    QTimer::singleShot(m_store.services().saveDelayMs, this, [this, &flag, save] {
        if (flag)
            (this->*save)();
    });
}

void History::saveHistoryAsync()
{
    m_historySaveScheduled = false;
    const QString path = historyFilePath();
    if (path.isEmpty() || m_unwritableFiles.contains(path) || !m_store.writesSupportFiles())
        return;
    const HistoryState& h = m_store.historyState();
    m_historyWriter.write(
        path,
        [stack = h.undoStack, dates = h.undoDates, marks = h.undoBookmarks] {
            return HistoryFile::encodeHistory(stack, dates, marks);
        },
        saveFailureReporter(true));
}

void History::saveRenameLogAsync()
{
    m_logSaveScheduled = false;
    const QString path = renameLogFilePath();
    if (path.isEmpty() || m_unwritableFiles.contains(path) || !m_store.writesSupportFiles())
        return;
    m_historyWriter.write(
        path, [log = m_store.historyState().renameLog] { return HistoryFile::encodeLog(log); },
        saveFailureReporter(false));
}

// A save that failed (a full disk, a read-only support folder) left the old file as it was; the
// user is told, since undo after a restart would otherwise miss the newest batches silently.
std::function<void(const QString&)> History::saveFailureReporter(bool history)
{
    return [this, history](const QString& why) {
        QMetaObject::invokeMethod(
            this,
            [this, history, why] {
                m_store.setStatus(history ? L(QStringLiteral("The undo history could not be saved: %1").arg(why),
                                              QStringLiteral("无法保存撤销历史:%1").arg(why))
                                          : L(QStringLiteral("The rename log could not be saved: %1").arg(why),
                                              QStringLiteral("无法保存重命名日志:%1").arg(why)));
            },
            Qt::QueuedConnection);
    };
}

void History::flushPendingSaves()
{
    if (m_historySaveScheduled)
        saveHistoryAsync();
    if (m_logSaveScheduled)
        saveRenameLogAsync();
    m_historyWriter.waitForIdle();
    // The shared Store is never destroyed, so the settings file's own last write never comes.
    m_store.settings().sync();
}

namespace {
// Files that undo moved into a temporary name and that could not go on from there (the name
// beyond is still taken) go back to where the batch had left them, or beside it under a visible
// name: never left hidden. `parked` maps each such temporary path to its move in `restored`.
void returnParked(Store& store, const QHash<QString, qsizetype>& parked, MoveBatch& restored, UndoOutcome& out)
{
    QList<qsizetype> undone;
    for (auto it = parked.cbegin(); it != parked.cend(); ++it) {
        const QString temp = it.key();
        const QString home = restored[it.value()].from;
        const auto landed = rescueTarget(home,
                                         [&](const QString& to) { return !store.access().coordinatedMove(temp, to); });
        if (!landed)
            continue;
        --out.restored;
        ++out.failed;
        if (*landed == home)
            undone << it.value();
        else
            restored << Move{temp, *landed};
    }
    std::sort(undone.begin(), undone.end(), std::greater<>());
    for (qsizetype i : undone)
        restored.removeAt(i);
}

UndoOutcome undoNewest(Store& store, MoveBatch& restored)
{
    UndoOutcome out;
    MoveBatch batch;
    store.history().editUndoStack([&](QList<MoveBatch>& stack) { batch = stack.takeLast(); });
    QHash<QString, qsizetype> parked;
    for (qsizetype i = batch.size() - 1; i >= 0; --i) {
        const Move& m = batch[i];
        if (auto err = store.access().coordinatedMove(m.to, m.from)) {
            ++out.failed;
            out.lastError = err->text();
            continue;
        }
        parked.remove(m.to);
        if (SafeMove::isTemporaryName(PathText::lastComponent(m.from)))
            parked.insert(m.from, restored.size());
        restored << Move{m.to, m.from};
        ++out.restored;
    }
    returnParked(store, parked, restored, out);
    return out;
}

// Undoes the newest batch and brings the list and the log up to date.
UndoOutcome undoNewestBatch(Store& store)
{
    store.dates().clearCaches();
    MoveBatch restored;
    const UndoOutcome o = undoNewest(store, restored);
    store.bookkeeping().commitRenamed(restored);
    store.history().appendRenameLog(restored, RenameLogEntry::Action::undo);
    return o;
}
}  // namespace

void History::undoLast()
{
    if (m_store.historyState().undoStack.isEmpty())
        return;
    const UndoOutcome o = undoNewestBatch(m_store);
    const QString u = QString::number(o.restored);
    if (o.failed == 0)
        m_store.setStatus(
            L(QStringLiteral("Undid %1 rename(s).").arg(u), QStringLiteral("已撤销 %1 个重命名。").arg(u)));
    else
        m_store.setStatus(
            L(QStringLiteral("Undid %1 rename(s); %2 couldn't be restored: %3").arg(u).arg(o.failed).arg(o.lastError),
              QStringLiteral("已撤销 %1 个重命名;%2 个无法恢复:%3").arg(u).arg(o.failed).arg(o.lastError)));
}

void History::restoreAll()
{
    const HistoryState& h = m_store.historyState();
    if (h.undoStack.isEmpty()) {
        m_store.setStatus(L("Nothing to restore — no renames yet.", "无可还原 —— 尚未重命名。"));
        return;
    }
    qsizetype total = 0;
    for (const MoveBatch& b : h.undoStack)
        total += b.size();
    UndoOutcome sum;
    while (!h.undoStack.isEmpty()) {
        const UndoOutcome o = undoNewestBatch(m_store);
        sum.restored += o.restored;
        sum.failed += o.failed;
        if (!o.lastError.isEmpty())
            sum.lastError = o.lastError;
    }
    const QString t = QString::number(total);
    // "Restored all" would claim success for files that stayed where they were; with failures
    // the report says how many came back and why the others did not.
    if (sum.failed == 0)
        m_store.setStatus(L(QStringLiteral("Restored all %1 file(s) to their original names.").arg(t),
                            QStringLiteral("已将全部 %1 个文件还原为原始名称。").arg(t)));
    else
        m_store.setStatus(L(
            QStringLiteral("Restored %1 file(s); %2 couldn't be restored: %3")
                .arg(sum.restored)
                .arg(sum.failed)
                .arg(sum.lastError),
            QStringLiteral("已还原 %1 个文件;%2 个无法还原:%3").arg(sum.restored).arg(sum.failed).arg(sum.lastError)));
}

QStringList History::historySummaries() const
{
    const HistoryState& h = m_store.historyState();
    const qsizetype count = h.undoStack.size();
    const QLocale locale = Lang::locale();
    QStringList out;
    for (qsizetype i = count - 1; i >= 0; --i) {
        QString label = QString::number(count - i) + QStringLiteral(". ") + QString::number(h.undoStack[i].size())
                      + L(" rename(s)", " 个重命名");
        if (i < h.undoDates.size())
            label += QStringLiteral(" · ") + locale.toString(h.undoDates[i], QLocale::ShortFormat);
        out << label;
    }
    return out;
}
