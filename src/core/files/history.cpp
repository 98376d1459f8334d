// The undo history and the rename log: bookkeeping, saving, loading and undo.
#include "files/history.h"

#include "files/history_file.h"
#include "files/item_bookkeeping.h"
#include "files/path_remap.h"
#include "files/rename_batch.h"
#include "files/rename_journal.h"
#include "files/rescue_move.h"
#include "files/scoped_access.h"
#include "model/file_dates.h"
#include "platform/in_parts.h"
#include "platform/lang.h"
#include "platform/open_folder.h"
#include "platform/random_ids.h"
#include "platform/set_aside.h"
#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QFutureWatcher>
#include <QLocale>
#include <QMap>
#include <QMutex>
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
    // The folders in the order first met, found on several threads: each part of the moves lists
    // the folders it meets. A batch's moves come folder by folder: a path directly in the folder
    // just seen costs one comparison, not a copy of its folder's path.
    QMap<qsizetype, QStringList> met;  // by the part's first move
    QMutex metLock;
    inParts(moves.size(), [&](qsizetype begin, qsizetype end) {
        QStringList folders;
        auto add = [&](const QString& path) {
            const qsizetype slash = path.lastIndexOf('/');
            if (!folders.isEmpty() && slash > 0 && !path.endsWith('/')
                && QStringView(path).first(slash) == folders.constLast())
                return;
            folders << PathText::parent(path);
        };
        for (qsizetype k = begin; k < end; ++k) {
            add(moves.at(k).from);
            add(moves.at(k).to);
        }
        QMutexLocker lock(&metLock);
        met.insert(begin, std::move(folders));
    });
    QSet<QString> seen;
    QList<QByteArray> out;
    for (const QStringList& folders : std::as_const(met))
        for (const QString& folder : folders) {
            if (seen.contains(folder))
                continue;
            seen.insert(folder);
            const QByteArray mark = m_store.services().folderAccess->bookmark(folder);
            if (!mark.isEmpty())
                out << mark;
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
    const QList<QUuid> ids = randomIds(moves.size() - first);
    m_store.editHistory([&](HistoryState& h) {
        QList<RenameLogEntry>& log = h.renameLog;
        log.reserve(log.size() + moves.size() - first);
        for (qsizetype i = first; i < moves.size(); ++i)
            log << RenameLogEntry{ids[i - first], now, action, moves[i].from, moves[i].to};
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
    saveHistory({});
}

void History::saveRenameLogAsync()
{
    saveRenameLog({});
}

bool History::saveHistory(const std::function<void()>& failed)
{
    m_historySaveScheduled = false;
    const QString path = historyFilePath();
    if (path.isEmpty() || m_unwritableFiles.contains(path) || !m_store.writesSupportFiles())
        return false;
    const HistoryState& h = m_store.historyState();
    m_historyWriter.write(
        path,
        [stack = h.undoStack, dates = h.undoDates, marks = h.undoBookmarks](const HistoryWriter::Pieces& put) {
            HistoryFile::encodeHistory(stack, dates, marks, put);
        },
        saveFailureReporter(true, failed));
    return true;
}

bool History::saveRenameLog(const std::function<void()>& failed)
{
    m_logSaveScheduled = false;
    const QString path = renameLogFilePath();
    if (path.isEmpty() || m_unwritableFiles.contains(path) || !m_store.writesSupportFiles())
        return false;
    m_historyWriter.write(
        path,
        [log = m_store.historyState().renameLog](const HistoryWriter::Pieces& put) {
            HistoryFile::encodeLog(log, put);
        },
        saveFailureReporter(false, failed));
    return true;
}

// A save that failed (a full disk, a read-only support folder) left the old file as it was; the
// user is told, since undo after a restart would otherwise miss the newest batches silently.
std::function<void(const QString&)> History::saveFailureReporter(bool history, std::function<void()> failed)
{
    return [this, history, failed](const QString& why) {
        if (failed)
            failed();
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

// A file that undo moved back into its temporary name, on its way to the name before it.
struct ParkedFile {
    qsizetype restored;  // that move, in the restored moves
    qsizetype original;  // the batch's move out of the temporary name
};

// Files that undo moved into a temporary name and that could not go on from there (the name
// beyond is still taken) go back to where the batch had left them, or beside it under a visible
// name: never left hidden. Their moves stay in `kept`, so a later undo takes the same way back.
void returnParked(Store& store, const QHash<QString, ParkedFile>& parked, MoveBatch& restored,
                  QMap<qsizetype, Move>& kept, UndoOutcome& out)
{
    QList<qsizetype> undone;
    for (auto it = parked.cbegin(); it != parked.cend(); ++it) {
        const QString temp = it.key();
        const QString home = restored[it->restored].from;
        const auto landed = rescueTarget(home,
                                         [&](const QString& to) { return !store.access().coordinatedMove(temp, to); });
        if (!landed)
            continue;
        --out.restored;
        ++out.failed;
        kept.insert(it->original, Move{temp, *landed});
        if (*landed == home)
            undone << it->restored;
        else
            restored << Move{temp, *landed};
    }
    std::sort(undone.begin(), undone.end(), std::greater<>());
    for (qsizetype i : undone)
        restored.removeAt(i);
}

// Moves the batch back, last move first. `restored` gets the moves that happened; `notUndone`
// the batch's moves that did not, in the batch's order.
UndoOutcome undoBatch(Store& store, const MoveBatch& batch, MoveBatch& restored, MoveBatch& notUndone)
{
    UndoOutcome out;
    QMap<qsizetype, Move> kept;  // by the move's place in the batch: few, if any
    QHash<QString, ParkedFile> parked;
    OpenFolder folder;
    restored.reserve(restored.size() + batch.size());
    for (qsizetype i = batch.size() - 1; i >= 0; --i) {
        const Move& m = batch[i];
        if (auto err = store.access().coordinatedMove(m.to, m.from, folder)) {
            ++out.failed;
            out.lastError = err->text();
            kept.insert(i, m);
            continue;
        }
        if (!parked.isEmpty())
            parked.remove(m.to);
        if (endsInTemporaryName(m.from))
            parked.insert(m.from, {restored.size(), i});
        restored << Move{m.to, m.from};
        ++out.restored;
    }
    returnParked(store, parked, restored, kept, out);
    for (const Move& m : std::as_const(kept))
        notUndone << m;
    return out;
}

// Undoes the batch at `index` of the history and brings the list, the log and the history up to date.
UndoOutcome undoStoredBatch(Store& store, qsizetype index)
{
    store.dates().clearCaches();
    const MoveBatch batch = store.historyState().undoStack.at(index);
    MoveBatch restored, notUndone;
    const UndoOutcome o = undoBatch(store, batch, restored, notUndone);
    store.history().keepNotUndone(index, notUndone);
    store.bookkeeping().commitRenamed(restored);
    store.history().appendRenameLog(restored, RenameLogEntry::Action::undo);
    return o;
}

QString undoStatus(const UndoOutcome& o)
{
    const QString u = QString::number(o.restored);
    if (o.failed == 0)
        return L(QStringLiteral("Undid %1 rename(s).").arg(u), QStringLiteral("已撤销 %1 个重命名。").arg(u));
    return L(QStringLiteral("Undid %1 rename(s); %2 couldn't be restored: %3").arg(u).arg(o.failed).arg(o.lastError),
             QStringLiteral("已撤销 %1 个重命名;%2 个无法恢复:%3").arg(u).arg(o.failed).arg(o.lastError));
}

void addUp(UndoOutcome& sum, const UndoOutcome& o)
{
    sum.restored += o.restored;
    sum.failed += o.failed;
    if (!o.lastError.isEmpty())
        sum.lastError = o.lastError;
}

}  // namespace

void History::keepNotUndone(qsizetype index, const MoveBatch& kept)
{
    m_store.editHistory([&](HistoryState& h) {
        const int before = int(h.undoStack.size());
        if (!kept.isEmpty()) {
            h.undoStack[index] = kept;
        } else {
            h.undoStack.removeAt(index);
            if (index < h.undoDates.size())
                h.undoDates.removeAt(index);
            if (index < h.undoBookmarks.size())
                h.undoBookmarks.removeAt(index);
        }
        historyDidChange(h, before);
    });
}

void History::undoLast()
{
    const qsizetype count = m_store.historyState().undoStack.size();
    if (count == 0)
        return;
    m_store.setStatus(undoStatus(undoStoredBatch(m_store, count - 1)));
}

void History::undoBackTo(int position)
{
    const qsizetype count = m_store.historyState().undoStack.size();
    if (count == 0)
        return;
    // Each batch is tried once: one that could not be undone stays in its place and the next
    // older one comes after it.
    UndoOutcome sum;
    for (qsizetype i = count - 1; i >= qMax<qsizetype>(0, count - 1 - position); --i)
        addUp(sum, undoStoredBatch(m_store, i));
    m_store.setStatus(undoStatus(sum));
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
    for (qsizetype i = h.undoStack.size() - 1; i >= 0; --i)
        addUp(sum, undoStoredBatch(m_store, i));
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

void History::recordApplied(const MoveBatch& moves, const QString& journal)
{
    record(moves);
    saveNow(journal);
}

// A crash after the apply must find the batch either in the stored history or in its journal:
// the journal goes only once both files are written.
void History::saveNow(const QString& journal)
{
    if (!m_store.historyState().historyLoaded) {
        // Nothing is stored in this run, so there is no history for the journal to complete.
        RenameJournal::discard(journal);
        return;
    }
    auto stored = std::make_shared<std::atomic<bool>>(true);
    const auto failed = [stored] { *stored = false; };
    const bool logQueued = saveRenameLog(failed);
    const bool historyQueued = saveHistory(failed);
    if (logQueued && historyQueued && !journal.isEmpty())
        m_historyWriter.then([stored, journal] {
            if (*stored)
                RenameJournal::discard(journal);
        });
}

namespace {
QString recoveredMessage(const RenameJournal::Recovery& r)
{
    if (r.damaged)
        return r.error.isEmpty()
                 ? L(QStringLiteral("The record of an interrupted apply could not be read; the file was kept as “%1”.")
                         .arg(r.keptAs),
                     QStringLiteral("无法读取被中断的应用记录;该文件已保留为「%1」。").arg(r.keptAs))
                 : L(QStringLiteral("The record of an interrupted apply could not be read or set aside (%1).")
                         .arg(r.error),
                     QStringLiteral("无法读取被中断的应用记录,也无法将其移开(%1)。").arg(r.error));
    QStringList en, zh;
    const QString n = QString::number(r.completed);
    en << QStringLiteral("An apply was interrupted; %1 completed rename(s) were recovered and can be undone.").arg(n);
    zh << QStringLiteral("上次应用被中断;已找回 %1 个已完成的重命名,可以撤销。").arg(n);
    if (r.unhidden > 0) {
        const QString u = QString::number(r.unhidden);
        en << QStringLiteral("%1 file(s) left under a temporary name were given a visible name.").arg(u);
        zh << QStringLiteral("%1 个留在临时名称下的文件已恢复为可见名称。").arg(u);
    }
    if (!r.stillHidden.isEmpty()) {
        const QString h = QString::number(r.stillHidden.size());
        const QString first = PathText::lastComponent(r.stillHidden.first());
        en << QStringLiteral("%1 file(s) are still under a temporary name, such as “%2”.").arg(h, first);
        zh << QStringLiteral("%1 个文件仍在临时名称下,例如「%2」。").arg(h, first);
    }
    return L(en.join(' '), zh.join(QString()));
}
}  // namespace

QString History::recoverJournals()
{
    // The journals of the process that holds the support folder are its own, live or not.
    if (!m_store.writesSupportFiles())
        return {};
    QStringList notes;
    RenameJournal::removeUnfinished(m_store.supportFolder());
    for (const QString& path : RenameJournal::pathsIn(m_store.supportFolder())) {
        const RenameJournal::Recovery r = RenameJournal::recover(path);
        if (r.damaged) {
            notes << recoveredMessage(r);
            continue;
        }
        // A crash between the history save and the journal's removal: the batch is stored.
        const QList<MoveBatch>& stack = m_store.historyState().undoStack;
        if (r.moves.isEmpty() || (!stack.isEmpty() && stack.last() == r.moves)) {
            RenameJournal::discard(path);
        } else {
            record(r.moves);
            saveNow(path);
        }
        if (r.completed > 0 || r.unhidden > 0 || !r.stillHidden.isEmpty())
            notes << recoveredMessage(r);
    }
    return notes.join(' ');
}
