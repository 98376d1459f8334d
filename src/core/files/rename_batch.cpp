#include "files/rename_batch.h"

#include "files/path_remap.h"
#include "files/rename_decision.h"
#include "files/rescue_move.h"
#include "platform/in_parts.h"

#include <QMutex>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <deque>
#include <functional>
#include <numeric>
#include <vector>

namespace {

int depth(const QString& path)
{
    return int(path.count('/'));
}

// A file inside a folder moves before the folder does. Nearly every batch renames files of
// equal depth, which need no sort at all.
void sortDeepestFirst(ItemMoves& kept)
{
    QList<int> depths;
    depths.reserve(kept.size());
    for (const Move& m : std::as_const(kept.moves))
        depths << depth(m.from);
    if (std::adjacent_find(depths.cbegin(), depths.cend(), std::not_equal_to<>()) == depths.cend())
        return;
    QList<qsizetype> order(kept.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return depths[a] > depths[b]; });
    ItemMoves sorted;
    sorted.moves.reserve(kept.size());
    sorted.positions.reserve(kept.size());
    for (qsizetype i : std::as_const(order)) {
        sorted.moves << std::move(kept.moves[i]);
        sorted.positions << kept.positions[i];
    }
    kept = std::move(sorted);
}

// Where each entry's file is while the batch runs, and what has been done so far.
class BatchRun {
public:
    // `out` holds no moves yet.
    BatchRun(ItemMoves kept, BatchDisk& disk, RenameBatchResult& out)
        : m_kept(std::move(kept)), m_disk(disk), m_out(out), m_done(m_kept.size(), false),
          m_at(size_t(m_kept.size()), At::from)
    {}

    void run()
    {
        for (int i = 0; i < m_kept.size(); ++i) {
            m_done[i] = true;
            renameEntry(i);
        }
        if (!m_offPlan)
            m_out.moves = m_asPlanned == m_kept.size() ? m_kept.moves : m_kept.moves.first(m_asPlanned);
        bool allArrived = true;
        for (int i = 0; i < m_kept.size(); ++i) {
            if (endsInTemporaryName(location(i)))
                ++m_out.leftHidden;
            allArrived = allArrived && m_at[size_t(i)] == At::to;
        }
        if (allArrived) {
            m_out.itemMoves = m_kept;
            return;
        }
        for (int i = 0; i < m_kept.size(); ++i) {
            if (m_at[size_t(i)] == At::from)
                continue;
            m_out.itemMoves.moves << Move{m_kept.moves.at(i).from, location(i)};
            m_out.itemMoves.positions << m_kept.positions.at(i);
        }
    }

private:
    // Where an entry's file is: where it started, at its target, or elsewhere (parked, or given
    // a name beside its old one), which is then kept aside.
    enum class At : quint8 { from, to, elsewhere };

    const Move& entry(int i) const { return m_kept.moves.at(i); }

    // The moves made, while they are exactly the entries in order, are counted rather than
    // copied: the entries' own list then records them.
    void record(const Move& move)
    {
        if (!m_offPlan && m_asPlanned < m_kept.size() && entry(int(m_asPlanned)) == move) {
            ++m_asPlanned;
            return;
        }
        if (!m_offPlan) {
            m_out.moves = m_kept.moves.first(m_asPlanned);
            m_out.moves.reserve(m_kept.size() + 1);
            m_offPlan = true;
        }
        m_out.moves << move;
    }
    void unrecordLast()
    {
        if (m_offPlan)
            m_out.moves.removeLast();
        else
            --m_asPlanned;
    }

    const QString& location(int entry) const
    {
        switch (m_at[size_t(entry)]) {
        case At::from: return this->entry(entry).from;
        case At::to: return this->entry(entry).to;
        case At::elsewhere: break;
        }
        return *m_elsewhere.constFind(entry);
    }

    // Which entry's file sits at a path. Only a refused move asks, so the index is built then,
    // from where the files are at that moment (no two at one path), and kept up from there on.
    int holderAt(const QString& path) const
    {
        if (!m_holdersIndexed) {
            m_holderAt.reserve(m_kept.size());
            for (int i = 0; i < m_kept.size(); ++i)
                m_holderAt.insert(location(i), i);
            m_holdersIndexed = true;
        }
        return m_holderAt.value(path, -1);
    }

    void relocate(int entry, const QString& to)
    {
        if (m_holdersIndexed) {
            m_holderAt.remove(location(entry));
            m_holderAt.insert(to, entry);
        }
        const Move& e = this->entry(entry);
        const At at = to == e.to ? At::to : to == e.from ? At::from : At::elsewhere;
        if (at == At::elsewhere)
            m_elsewhere.insert(entry, to);
        else
            m_elsewhere.remove(entry);
        m_at[size_t(entry)] = at;
    }

    // True when the entry's file, once moved aside, would have nowhere to go: its own target is
    // held by a file outside the batch or by an entry whose turn has passed (other than the one
    // now moving, which is about to leave it).
    bool cannotMoveOn(int entry, int moving) const
    {
        const QString& target = this->entry(entry).to;
        if (!m_disk.exists(target) || m_disk.sameFile(location(entry), target))
            return false;
        const int holder = holderAt(target);
        return holder < 0 || holder == entry || (m_done[holder] && holder != moving);
    }

    // Counts an entry as skipped. A file of the batch that was parked for another entry never
    // stays under its hidden name: it goes back to its name if that is still free, else to a
    // visible name beside it.
    void skip(int entry, const QString& why)
    {
        ++m_out.skipped;
        if (!why.isEmpty())
            m_out.reason = why;
        const QString at = location(entry);
        if (at == this->entry(entry).from)
            return;
        if (const auto back = rescueTarget(this->entry(entry).from,
                                           [&](const QString& to) { return !m_disk.move(at, to); })) {
            record(Move{at, *back});
            relocate(entry, *back);
        }
    }

    void renameEntry(int i)
    {
        const Move& e = entry(i);
        const QString src = location(i);
        std::optional<MoveError> err = m_disk.move(src, e.to);
        int parked = -1;  // the entry moved aside for this one
        if (err && (err->exists() || (m_disk.exists(e.to) && !m_disk.sameFile(src, e.to)))) {
            // Free the target only for a file of the batch whose own rename is still ahead.
            const int occupant = holderAt(e.to);
            if (occupant < 0 || occupant == i || m_done[occupant] || cannotMoveOn(occupant, i))
                return skip(i, {});
            const QString temp = PathText::parent(e.to) + '/' + m_disk.temporaryName();
            if (auto aside = m_disk.move(e.to, temp))
                return skip(i, aside->text());
            relocate(occupant, temp);
            record(Move{e.to, temp});
            parked = occupant;
            err = m_disk.move(src, e.to);
        }
        if (!err || m_disk.retryWithAccess(src, e.to, err)) {
            record(Move{src, e.to});
            relocate(i, e.to);
            ++m_out.renamed;
            return;
        }
        // Never leave a user's file under a hidden name: put the occupant back in its place.
        if (parked >= 0 && !m_disk.move(location(parked), e.to)) {
            relocate(parked, e.to);
            unrecordLast();
        }
        skip(i, err->text());
    }

    const ItemMoves m_kept;  // read only: the journal may share its moves as its plan
    BatchDisk& m_disk;
    RenameBatchResult& m_out;
    qsizetype m_asPlanned = 0;  // moves made so far that were the leading entries, in order
    bool m_offPlan = false;     // a move was made that was not: `m_out.moves` has them all
    QList<bool> m_done;
    std::vector<At> m_at;
    QHash<int, QString> m_elsewhere;
    mutable QHash<QString, int> m_holderAt;
    mutable bool m_holdersIndexed = false;
};

}  // namespace

std::optional<MoveError> SimulatedDisk::move(const QString& from, const QString& to)
{
    if (m_paths.contains(to))
        return MoveError{EEXIST, from, to};
    if (!m_paths.remove(from))
        return MoveError{ENOENT, from, to};
    m_paths.insert(to);
    return std::nullopt;
}

QString SimulatedDisk::temporaryName()
{
    return QStringLiteral(".rntmp_%1").arg(++m_temporaries);
}

QList<bool> BatchDisk::taken(const QString&, const QList<Move>& moves) const
{
    QList<bool> out;
    out.reserve(moves.size());
    for (const Move& m : moves)
        out << (exists(m.to) && !sameFile(m.from, m.to));
    return out;
}

namespace {

// The rows of a batch, referring to the list's and the plan's texts rather than copying them.
struct BatchRows {
    std::deque<QString> cleaned;  // the clean paths of listed paths that are not (the rows refer here)
    std::vector<CandidateRef> rows;
    std::vector<qint32> positions;  // each row's place in the list
    int shallowest = INT_MAX;
    int deepest = 0;
};

BatchRows rowsOf(const QList<FileItem>& items, const RenamePlan& plan)
{
    // The plan's entry of each listed item, found on several threads, and whether its path is
    // clean (listed paths are, from the moment they are listed). Depths are counted while each
    // path is at hand: a batch at one depth, nearly every one, is then never read again for the sort.
    BatchRows out;
    std::vector<const QString*> proposed(size_t(items.size()), nullptr);
    std::vector<char> clean(size_t(items.size()), 0);
    QMutex depthsLock;
    inParts(items.size(), [&](qsizetype begin, qsizetype end) {
        int low = INT_MAX, high = 0;
        for (qsizetype p = begin; p < end; ++p) {
            const auto it = plan.constFind(items[p].id);
            if (it == plan.cend())
                continue;
            proposed[size_t(p)] = &*it;
            const QString path = PathRemap::clean(items[p].url);
            clean[size_t(p)] = path.constData() == items[p].url.constData();
            const int d = depth(path);
            low = std::min(low, d);
            high = std::max(high, d);
        }
        QMutexLocker lock(&depthsLock);
        out.shallowest = std::min(out.shallowest, low);
        out.deepest = std::max(out.deepest, high);
    });
    out.rows.reserve(size_t(plan.size()));
    out.positions.reserve(size_t(plan.size()));
    for (qsizetype p = 0; p < items.size(); ++p) {
        if (!proposed[size_t(p)])
            continue;
        const FileItem& item = items[p];
        const QString& from = clean[size_t(p)] ? item.url : out.cleaned.emplace_back(PathRemap::clean(item.url));
        out.rows.push_back(CandidateRef{from, item.name, *proposed[size_t(p)]});
        out.positions.push_back(qint32(p));
    }
    return out;
}

}  // namespace

DecidedBatch decideBatch(const QList<FileItem>& items, const RenamePlan& plan, const BatchDisk& disk)
{
    DecidedBatch out;
    const BatchRows batch = rowsOf(items, plan);
    const std::vector<CandidateRef>& rows = batch.rows;
    const std::vector<qint32>& positions = batch.positions;
    const RenameDecision decision = disk.takenOnRealDisk()
                                      ? decideRenamesOnDisk(rows)
                                      : decideRenames(rows, [&disk](const QString& folder, const QList<Move>& moves) {
                                            return disk.taken(folder, moves);
                                        });
    RenameBatchResult& r = out.result;
    std::vector<qint32> renamed;  // the rows let through
    renamed.reserve(size_t(decision.willRename));
    for (qsizetype i = 0; i < qsizetype(positions.size()); ++i) {
        switch (decision.verdicts.at(i)) {
        case RenameVerdict::unchanged: break;
        case RenameVerdict::rename: renamed.push_back(qint32(i)); break;
        case RenameVerdict::invalid:
            ++r.skipped;
            r.reason = decision.reasons.value(i);
            break;
        // A target held on the disk is found when the batch gets to it; collisions within the
        // list are known before anything is tried.
        case RenameVerdict::taken: r.anyToMove = true; [[fallthrough]];
        case RenameVerdict::duplicate:
        case RenameVerdict::heldInList: ++r.skipped; break;
        }
    }
    // The entries and their target paths, made on several threads.
    out.entries.moves.resize(qsizetype(renamed.size()));
    out.entries.positions.resize(qsizetype(renamed.size()));
    Move* const move = out.entries.moves.data();
    qsizetype* const position = out.entries.positions.data();
    inParts(qsizetype(renamed.size()), [&](qsizetype begin, qsizetype end) {
        for (qsizetype k = begin; k < end; ++k) {
            const qsizetype i = renamed[size_t(k)];
            const CandidateRef& row = rows[size_t(i)];
            move[k] = Move{row.from, targetPath(row.from, row.proposed)};
            position[k] = positions[size_t(i)];
        }
    });
    if (batch.shallowest != batch.deepest)
        sortDeepestFirst(out.entries);
    return out;
}

bool endsInTemporaryName(const QString& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return SafeMove::isTemporaryName(QStringView(path).sliced(slash + 1));
}

bool DecidedBatch::chainFree() const
{
    // A target can only be a start of the same length: the paths are hashed only for lengths
    // that both have (a rename that adds or drops characters needs no hashing at all).
    std::vector<bool> startLength, sharedLength;
    auto mark = [](std::vector<bool>& lengths, qsizetype n) {
        if (size_t(n) >= lengths.size())
            lengths.resize(size_t(n) + 1);
        lengths[size_t(n)] = true;
    };
    auto has = [](const std::vector<bool>& lengths, qsizetype n) {
        return size_t(n) < lengths.size() && lengths[size_t(n)];
    };
    const MoveBatch& moves = entries.moves;
    for (const Move& e : moves)
        mark(startLength, e.from.size());
    for (const Move& e : moves)
        if (has(startLength, e.to.size()))
            mark(sharedLength, e.to.size());
    if (sharedLength.empty())
        return true;
    QSet<QString> starts;
    for (const Move& e : moves)
        if (has(sharedLength, e.from.size()))
            starts.insert(e.from);
    return std::none_of(moves.cbegin(), moves.cend(), [&](const Move& e) { return starts.contains(e.to); });
}

RenameBatchResult carryOutBatch(DecidedBatch batch, BatchDisk& disk)
{
    RenameBatchResult out = std::move(batch.result);
    if (batch.entries.size() > 0) {
        out.anyToMove = true;
        BatchRun(std::move(batch.entries), disk, out).run();
    }
    return out;
}

RenameBatchResult runRenameBatch(const QList<FileItem>& items, const RenamePlan& plan, BatchDisk& disk)
{
    return carryOutBatch(decideBatch(items, plan, disk), disk);
}

RenameBatchResult planRenameBatch(const QList<FileItem>& items, const RenamePlan& plan, const QSet<QString>& existing)
{
    SimulatedDisk disk(existing);
    return runRenameBatch(items, plan, disk);
}
