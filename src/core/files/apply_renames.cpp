// Applying a batch of proposed names on disk.
#include "files/path_remap.h"
#include "files/rescue_move.h"
#include "model/name_validation.h"
#include "model/store.h"
#include "model/name_preview.h"
#include "model/file_dates.h"
#include "platform/lang.h"

#include <algorithm>

namespace {

struct Entry {
    QUuid id;
    QString from;
    QString to;
    QString proposed;
    QString oldName;
};

int depth(const QString& path) { return int(path.count('/')); }

QString nothingRenamedStatus(int skipped, const QString& reason)
{
    const QString m = QString::number(skipped);
    if (skipped == 0)
        return L("No changes to apply.", "没有需要应用的更改。");
    if (reason.isEmpty())
        return L(QStringLiteral("Nothing renamed. %1 skipped (conflicts).").arg(m),
                 QStringLiteral("未重命名,跳过 %1 个(冲突)。").arg(m));
    return L(QStringLiteral("Nothing renamed. %1 skipped: %2").arg(m, reason),
             QStringLiteral("未重命名,跳过 %1 个:%2").arg(m, reason));
}

QString renamedStatus(int renamed, int skipped, const QString& reason)
{
    const QString n = QString::number(renamed);
    const QString m = QString::number(skipped);
    if (skipped == 0)
        return L(QStringLiteral("Renamed %1.").arg(n), QStringLiteral("已重命名 %1 个。").arg(n));
    if (reason.isEmpty())
        return L(QStringLiteral("Renamed %1, skipped %2 (conflicts).").arg(n, m),
                 QStringLiteral("已重命名 %1 个,跳过 %2 个(冲突)。").arg(n, m));
    return L(QStringLiteral("Renamed %1, skipped %2: %3").arg(n, m, reason),
             QStringLiteral("已重命名 %1 个,跳过 %2 个:%3").arg(n, m, reason));
}

// Entries whose target is held by something that will still be there when their turn comes:
// a file outside the batch, or a file of the batch that can't move on itself. Moving the holder
// of such a target aside would only leave it stranded under a temporary name.
QList<bool> blockedTargets(const QList<Entry>& kept)
{
    const qsizetype n = kept.size();
    QHash<QString, int> byFrom;
    byFrom.reserve(n);
    for (int i = 0; i < n; ++i)
        byFrom.insert(kept[i].from, i);
    QList<bool> blocked(n, false);
    QList<QList<int>> waitingOn(n);
    QList<int> queue;
    for (int i = 0; i < n; ++i) {
        const Entry& e = kept[i];
        if (!SafeMove::exists(e.to) || isSameFile(e.from, e.to))
            continue;
        const int holder = byFrom.value(e.to, -1);
        if (holder < 0 || holder == i) {
            blocked[i] = true;
            queue << i;
        } else {
            waitingOn[holder] << i;
        }
    }
    while (!queue.isEmpty()) {
        const int b = queue.takeLast();
        for (int w : std::as_const(waitingOn[b]))
            if (!blocked[w]) {
                blocked[w] = true;
                queue << w;
            }
    }
    return blocked;
}

} // namespace

void Store::applyInScope(const QSet<QUuid>& selection)
{
    if (m_items.isEmpty())
        return;
    if (!m_sections.scopeAllFiles && selection.isEmpty()) {
        setStatus(L("No files selected — select files in the list, or switch scope to “All files”.",
                    "未选中文件 —— 请在列表中选择文件,或把范围切换为「全部文件」。"));
        return;
    }
    RenamePlan plan;
    plan.reserve(m_items.size());
    for (int i = 0; i < m_items.size(); ++i)
        plan.insert(m_items[i].id, preview().newName(m_items[i], i, selection));
    applyRenames(plan);
}


void Store::applyRenames(const RenamePlan& plan)
{
    m_declinedAccessFolders.clear();

    QList<Entry> entries;
    QSet<QString> seen, duplicates;
    entries.reserve(plan.size());
    for (const FileItem& item : std::as_const(m_items)) {
        const auto it = plan.constFind(item.id);
        if (it == plan.cend())
            continue;
        const QString from = PathRemap::clean(item.url);
        const QString to = PathRemap::clean(PathText::parent(from) + '/' + *it);
        if (seen.contains(to))
            duplicates.insert(to);
        else
            seen.insert(to);
        entries << Entry{item.id, from, to, *it, item.name};
    }

    int renamed = 0, skipped = 0;
    QString reason;
    QList<Entry> kept;
    kept.reserve(entries.size());
    for (const Entry& e : std::as_const(entries)) {
        if (e.from == e.to)
            continue;
        if (auto why = validateNewName(e.proposed, e.oldName)) {
            ++skipped;
            reason = *why;
        } else if (duplicates.contains(e.to)) {
            ++skipped;
        } else {
            kept << e;
        }
    }
    if (kept.isEmpty()) {
        setStatus(nothingRenamedStatus(skipped, reason));
        return;
    }

    // Deepest first: a file inside a folder moves before the folder does.
    std::stable_sort(kept.begin(), kept.end(),
                     [](const Entry& a, const Entry& b) { return depth(a.from) > depth(b.from); });
    const QList<bool> blocked = blockedTargets(kept);

    QList<QString> location;      // where each entry's file is now
    QHash<QString, int> holderAt;  // which entry's file sits at a path
    QList<bool> done(kept.size(), false);
    location.reserve(kept.size());
    holderAt.reserve(kept.size());
    for (int i = 0; i < kept.size(); ++i) {
        location << kept[i].from;
        holderAt.insert(kept[i].from, i);
    }
    MoveBatch moves;
    auto relocate = [&](int entry, const QString& to) {
        holderAt.remove(location[entry]);
        location[entry] = to;
        holderAt.insert(to, entry);
    };

    // True when the entry's file, once moved aside, would have nowhere to go: its own target is
    // held by a file outside the batch or by an entry whose turn has passed (other than the one
    // now moving, which is about to leave it).
    auto cannotMoveOn = [&](int entry, int moving) {
        const QString& target = kept[entry].to;
        if (!SafeMove::exists(target) || isSameFile(location[entry], target))
            return false;
        const int holder = holderAt.value(target, -1);
        return holder < 0 || holder == entry || (done[holder] && holder != moving);
    };
    // Counts an entry as skipped. A file of the batch that was parked for another entry never
    // stays under its hidden name: it goes back to its name if that is still free, else to a
    // visible name beside it.
    auto skip = [&](int entry, const QString& why) {
        ++skipped;
        if (!why.isEmpty())
            reason = why;
        const QString at = location[entry];
        if (at == kept[entry].from)
            return;
        if (const auto back = rescueTarget(kept[entry].from, [&](const QString& to) { return !coordinatedMove(at, to); })) {
            moves << Move{at, *back};
            relocate(entry, *back);
        }
    };

    for (int i = 0; i < kept.size(); ++i) {
        const Entry& e = kept[i];
        const QString src = location[i];
        done[i] = true;
        if (blocked[i]) {
            skip(i, {});
            continue;
        }
        std::optional<MoveError> err = coordinatedMove(src, e.to);
        int parked = -1;  // the entry moved aside for this one
        if (err && (err->exists() || (SafeMove::exists(e.to) && !isSameFile(src, e.to)))) {
            // Free the target only for a file of the batch whose own rename is still ahead.
            const int occupant = holderAt.value(e.to, -1);
            if (occupant < 0 || occupant == i || done[occupant] || cannotMoveOn(occupant, i)) {
                skip(i, {});
                continue;
            }
            const QString temp = PathText::parent(e.to) + '/' + SafeMove::temporaryName();
            if (auto aside = coordinatedMove(e.to, temp)) {
                skip(i, aside->text());
                continue;
            }
            relocate(occupant, temp);
            moves << Move{e.to, temp};
            parked = occupant;
            err = coordinatedMove(src, e.to);
        }
        if (!err || requestFolderAccess(src, e.to, err)) {
            moves << Move{src, e.to};
            relocate(i, e.to);
            ++renamed;
            continue;
        }
        // Never leave a user's file under a hidden name: put the occupant back in its place.
        if (parked >= 0 && !coordinatedMove(location[parked], e.to)) {
            relocate(parked, e.to);
            moves.removeLast();
        }
        skip(i, err->text());
    }

    dates().clearCaches();
    if (!moves.isEmpty()) {
        commitRenamed(moves);
        editUndoStack([&](QList<MoveBatch>& stack) { stack << moves; });
    }
    setStatus(renamedStatus(renamed, skipped, reason));
}
