#include "files/rename_journal.h"

#include "files/rescue_move.h"
#include "platform/json_util.h"
#include "platform/safe_move.h"
#include "platform/set_aside.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>
#include <QtConcurrent>

#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr int kVersion = 1;
// Moves between syncs of the marks. A kill loses nothing marked (the marks are in the page
// cache at once); the syncs only bound what a power cut can take back.
constexpr int kSyncChunk = 4096;
// The plan's text is made this many moves to a piece, up to this many pieces ahead of the writing.
constexpr qsizetype kMovesPerPiece = 1024;
constexpr qsizetype kPiecesAhead = 8;
constexpr char kPending = '.';
constexpr char kUnderWay = 'a';
constexpr char kDone = 'x';
constexpr qsizetype kNoRecord = -1;
constexpr qsizetype kOffPlan = -2;

QString moveKey(const QString& from, const QString& to)
{
    return from + QChar(0) + to;
}

bool writeAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Plans a batch whose moves depend on one another (a swap, a shift along a row of names) without
// touching the disk. The decision has just asked the disk about every target: each one is free
// there unless a file of the batch starts at it. Anything else is asked of the real disk, and
// temporary names come from it so that the run proper can use the same ones.
class PlanningDisk : public BatchDisk {
public:
    PlanningDisk(BatchDisk& real, const MoveBatch& entries) : m_real(real)
    {
        m_now.reserve(2 * entries.size());
        for (const Move& e : entries)
            m_now.insert(e.to, false);
        for (const Move& e : entries)
            m_now.insert(e.from, true);
    }

    bool exists(const QString& path) const override
    {
        if (const auto it = m_now.constFind(path); it != m_now.cend())
            return *it;
        if (m_temporaries.contains(PathText::lastComponent(path)))
            return false;
        return m_real.exists(path);
    }
    bool sameFile(const QString& a, const QString& b) const override
    {
        if (a == b)
            return true;
        if (m_now.contains(a) || m_now.contains(b))
            return false;
        return m_real.sameFile(a, b);
    }
    std::optional<MoveError> move(const QString& from, const QString& to) override
    {
        if (exists(to))
            return MoveError{EEXIST, from, to};
        if (!m_now.value(from, true))
            return MoveError{ENOENT, from, to};
        m_now.insert(from, false);
        m_now.insert(to, true);
        return std::nullopt;
    }
    bool retryWithAccess(const QString&, const QString&, const std::optional<MoveError>&) override { return false; }
    QString temporaryName() override
    {
        const QString name = m_real.temporaryName();
        m_temporaries.insert(name);
        m_order << name;
        return name;
    }

    QStringList takeTemporaries() { return std::move(m_order); }

private:
    BatchDisk& m_real;
    QHash<QString, bool> m_now;
    QSet<QString> m_temporaries;
    QStringList m_order;
};

// The real disk, with every move recorded in the journal as it starts and ends.
class JournaledDisk : public BatchDisk {
public:
    JournaledDisk(BatchDisk& real, RenameJournal& journal, QStringList temporaries)
        : m_real(real), m_journal(journal), m_temporaries(std::move(temporaries))
    {}

    bool exists(const QString& path) const override { return m_real.exists(path); }
    bool sameFile(const QString& a, const QString& b) const override { return m_real.sameFile(a, b); }
    QList<bool> taken(const QString& folder, const QList<Move>& moves) const override
    {
        return m_real.taken(folder, moves);
    }
    bool takenOnRealDisk() const override { return m_real.takenOnRealDisk(); }
    std::optional<MoveError> move(const QString& from, const QString& to) override
    {
        const qsizetype token = m_journal.beginMove(from, to);
        auto err = m_real.move(from, to);
        m_journal.endMove(token, !err);
        return err;
    }
    bool retryWithAccess(const QString& from, const QString& to, const std::optional<MoveError>& error) override
    {
        const qsizetype token = m_journal.beginMove(from, to);
        const bool ok = m_real.retryWithAccess(from, to, error);
        m_journal.endMove(token, ok);
        return ok;
    }
    QString temporaryName() override
    {
        return m_nextTemporary < m_temporaries.size() ? m_temporaries[m_nextTemporary++] : m_real.temporaryName();
    }

private:
    BatchDisk& m_real;
    RenameJournal& m_journal;
    QStringList m_temporaries;
    qsizetype m_nextTemporary = 0;
};

// A move off the plan, recorded before it was made.
struct OffPlan {
    qsizetype after = 0;  // made after the planned moves before this index
    Move move;
    std::optional<bool> done;  // nothing: the process died while it was under way
};

struct Contents {
    QDateTime date;
    MoveBatch plan;
    QByteArray marks;
    QList<OffPlan> offPlan;
};

std::optional<Contents> readJournal(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray data = f.readAll();
    const qsizetype headEnd = data.indexOf('\n');
    if (headEnd < 0)
        return std::nullopt;
    const auto head = Json::parseObject(data.left(headEnd));
    if (!head || Json::wholeInt(head->value("version")) != kVersion || !head->value("moves").isArray()
        || !head->value("date").isDouble())
        return std::nullopt;
    Contents c;
    const auto date = Json::fromReferenceSeconds(head->value("date").toDouble());
    if (!date)
        return std::nullopt;
    c.date = *date;
    const QJsonArray moves = head->value("moves").toArray();
    if (moves.size() % 2 != 0)
        return std::nullopt;
    c.plan.reserve(moves.size() / 2);
    for (qsizetype i = 0; i < moves.size(); i += 2) {
        if (!moves[i].isString() || !moves[i + 1].isString())
            return std::nullopt;
        c.plan << Move{moves[i].toString(), moves[i + 1].toString()};
    }
    const qsizetype marksAt = headEnd + 1;
    if (data.size() < marksAt + c.plan.size() + 1 || data.at(marksAt + c.plan.size()) != '\n')
        return std::nullopt;
    c.marks = data.mid(marksAt, c.plan.size());
    for (char m : std::as_const(c.marks))
        if (m != kPending && m != kUnderWay && m != kDone)
            return std::nullopt;
    const QList<QByteArray> lines = data.mid(marksAt + c.plan.size() + 1).split('\n');
    // The last piece is whatever followed the final line break: a record cut off by the crash
    // was never synced, so the move it announced was never made.
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (line.startsWith('E')) {
            const auto o = Json::parseObject(line.mid(1));
            const auto after = o ? Json::wholeInt(o->value("after")) : std::nullopt;
            if (!o || !after || *after < 0 || *after > c.plan.size() || !o->value("from").isString()
                || !o->value("to").isString())
                return std::nullopt;
            c.offPlan << OffPlan{*after, Move{o->value("from").toString(), o->value("to").toString()}, {}};
        } else if ((line == "D" || line == "F") && !c.offPlan.isEmpty() && !c.offPlan.last().done) {
            c.offPlan.last().done = line == "D";
        } else {
            return std::nullopt;
        }
    }
    return c;
}

// The one move the record can't tell about: it was under way when the process died.
bool madeOnDisk(const Move& m)
{
    return !SafeMove::exists(m.from) && SafeMove::exists(m.to);
}

bool isTemporary(const QString& path)
{
    return SafeMove::isTemporaryName(PathText::lastComponent(path));
}

}  // namespace

QString RenameJournal::newPathIn(const QString& supportFolder)
{
    if (supportFolder.isEmpty())
        return {};
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QString tag = QUuid::createUuid().toString(QUuid::Id128).left(8).toUpper();
    return QDir(supportFolder).filePath(QStringLiteral("rename-journal-%1-%2.json").arg(stamp, tag));
}

QStringList RenameJournal::pathsIn(const QString& supportFolder)
{
    if (supportFolder.isEmpty())
        return {};
    const QDir dir(supportFolder);
    QStringList out;
    for (const QString& name :
         dir.entryList({QString::fromLatin1(kFilePattern)}, QDir::Files | QDir::Hidden, QDir::Name))
        out << dir.filePath(name);
    return out;
}

RenameJournal::RenameJournal(QString path) : m_path(std::move(path)) {}

RenameJournal::~RenameJournal()
{
    if (m_fd < 0)
        return;
    m_chunkSync.waitForFinished();  // it writes through the descriptor closed here
    ::fdatasync(m_fd);
    ::munmap(m_map, size_t(m_mapSize));
    ::close(m_fd);
}

bool RenameJournal::open(MoveBatch plan)
{
    const QString folder = PathText::parent(m_path);
    QDir().mkpath(folder);
    // Written under another name first, so that a crash while writing leaves no half plan.
    const QByteArray part = QFile::encodeName(m_path + QStringLiteral(".part"));
    const int fd = ::open(part.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    QByteArray data = "{\"date\":";
    Json::appendNumber(data, Json::referenceSeconds(QDateTime::currentDateTime()));
    data += ",\"moves\":[";
    bool ok = writeAll(fd, data);
    qsizetype written = data.size();
    // The plan goes out piece by piece, each piece's text made on a thread of its own while the
    // pieces before it are written: a large batch never holds its whole text in memory.
    const qsizetype count = plan.size();
    auto pieceText = [&plan, count](qsizetype begin) {
        const qsizetype end = std::min(count, begin + kMovesPerPiece);
        qsizetype size = 0;  // of a piece of plain ASCII paths
        for (qsizetype i = begin; i < end; ++i)
            size += plan.at(i).from.size() + plan.at(i).to.size() + 6;
        QByteArray piece;
        piece.reserve(size);
        for (qsizetype i = begin; i < end; ++i) {
            if (i > 0)
                piece += ',';
            Json::appendString(piece, plan.at(i).from);
            piece += ',';
            Json::appendString(piece, plan.at(i).to);
        }
        return piece;
    };
    std::deque<QFuture<QByteArray>> pieces;
    qsizetype next = 0;  // the first move of the next piece to be made
    while (ok && (next < count || !pieces.empty())) {
        while (next < count && qsizetype(pieces.size()) < kPiecesAhead) {
            pieces.push_back(QtConcurrent::run(pieceText, next));
            next += kMovesPerPiece;
        }
        const QByteArray piece = pieces.front().result();
        pieces.pop_front();
        ok = writeAll(fd, piece);
        written += piece.size();
    }
    for (QFuture<QByteArray>& left : pieces)  // after a failed write: they read the plan
        left.waitForFinished();
    data = "],\"version\":";
    data += QByteArray::number(kVersion);
    data += "}\n";
    const qsizetype marksAt = written + data.size();
    data += QByteArray(count, kPending);
    data += '\n';
    ok = ok && writeAll(fd, data);
    written += data.size();
    const qsizetype size = written;
    ok = ok && ::fdatasync(fd) == 0 && ::rename(part.constData(), QFile::encodeName(m_path).constData()) == 0;
    if (!ok) {
        ::close(fd);
        ::unlink(part.constData());
        return false;
    }
    syncFolder(folder);
    void* map = ::mmap(nullptr, size_t(size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) {
        ::close(fd);
        discard(m_path);
        return false;
    }
    m_fd = fd;
    m_map = static_cast<char*>(map);
    m_mapSize = size;
    m_marks = m_map + marksAt;
    m_plan = std::move(plan);
    return true;
}

RenameBatchResult RenameJournal::run(const QList<FileItem>& items, const RenamePlan& plan, BatchDisk& disk)
{
    // The disk is asked once which targets are taken; the plan and the run proper both follow
    // that one decision.
    DecidedBatch decided = decideBatch(items, plan, disk);
    if (m_path.isEmpty() || m_fd >= 0 || decided.entries.size() == 0)
        return carryOutBatch(std::move(decided), disk);
    MoveBatch planned;
    QStringList temporaries;
    if (decided.chainFree()) {
        planned = decided.entries.moves;
    } else {
        PlanningDisk planning(disk, decided.entries.moves);
        planned = carryOutBatch(decided, planning).moves;
        temporaries = planning.takeTemporaries();
    }
    if (planned.size() == 0 || !open(std::move(planned)))
        return carryOutBatch(std::move(decided), disk);
    JournaledDisk journaled(disk, *this, std::move(temporaries));
    RenameBatchResult result = carryOutBatch(std::move(decided), journaled);
    syncNow();
    // Every move is marked: the plan's paths are needed no more.
    m_plan = {};
    m_planIndex = {};
    return result;
}

qsizetype RenameJournal::beginMove(const QString& from, const QString& to)
{
    if (m_fd < 0)
        return kNoRecord;
    auto planned = [&](qsizetype i) { return i < m_plan.size() && m_plan.at(i).from == from && m_plan.at(i).to == to; };
    qsizetype i = -1;
    // A move that finds its target taken is tried again once the holder is parked: the first try
    // comes just ahead of the park in the plan.
    if (planned(m_cursor))
        i = m_cursor;
    else if (planned(m_cursor + 1))
        i = m_cursor + 1;
    else {
        if (m_planIndex.isEmpty()) {
            m_planIndex.reserve(m_plan.size());
            for (qsizetype k = m_plan.size() - 1; k >= 0; --k)
                m_planIndex.insert(moveKey(m_plan.at(k).from, m_plan.at(k).to), k);
        }
        if (const qsizetype k = m_planIndex.value(moveKey(from, to), -1); k >= m_cursor)
            i = k;
    }
    if (i >= 0) {
        m_marks[i] = kUnderWay;
        return i;
    }
    // Off the plan (a file put back after a failed move): on disk before it is made, since it
    // may leave a file under a name the plan doesn't know.
    const QByteArray record = 'E'
                            + QJsonDocument(QJsonObject{{"after", double(m_cursor)}, {"from", from}, {"to", to}})
                                  .toJson(QJsonDocument::Compact)
                            + '\n';
    writeAll(m_fd, record);
    ::fdatasync(m_fd);
    return kOffPlan;
}

void RenameJournal::endMove(qsizetype token, bool done)
{
    if (token == kNoRecord)
        return;
    if (token == kOffPlan) {
        writeAll(m_fd, done ? QByteArrayLiteral("D\n") : QByteArrayLiteral("F\n"));
        return;
    }
    m_marks[token] = done ? kDone : kPending;
    if (!done)
        return;
    m_cursor = token + 1;
    if (++m_sinceSync >= kSyncChunk)
        syncChunk();
}

// The marks are in the page cache the moment they are made: a sync only bounds what a power cut
// can take back, so the moves go on while it runs. One still running when the next chunk is due
// covers part of it; the chunk after it is synced in full.
void RenameJournal::syncChunk()
{
    m_sinceSync = 0;
    if (m_fd < 0 || m_chunkSync.isRunning())
        return;
    m_chunkSync = QtConcurrent::run([fd = m_fd] { ::fdatasync(fd); });
}

void RenameJournal::syncNow()
{
    m_sinceSync = 0;
    m_chunkSync.waitForFinished();
    if (m_fd >= 0)
        ::fdatasync(m_fd);
}

void RenameJournal::removeUnfinished(const QString& supportFolder)
{
    if (supportFolder.isEmpty())
        return;
    QDir dir(supportFolder);
    for (const QString& name :
         dir.entryList({QString::fromLatin1(kFilePattern) + QStringLiteral(".part")}, QDir::Files | QDir::Hidden))
        dir.remove(name);
}

void RenameJournal::discard(const QString& path)
{
    if (!path.isEmpty())
        QFile::remove(path);
}

std::optional<MoveBatch> RenameJournal::plannedMoves(const QString& path)
{
    const auto c = readJournal(path);
    if (!c)
        return std::nullopt;
    return c->plan;
}

RenameJournal::Recovery RenameJournal::recover(const QString& path)
{
    Recovery out;
    const auto c = readJournal(path);
    if (!c) {
        const SetAside aside = setAside(path);
        out.damaged = true;
        out.keptAs = aside.newName;
        out.error = aside.error;
        return out;
    }
    out.date = c->date;
    MoveBatch& done = out.moves;
    qsizetype next = 0;
    auto offPlanUpTo = [&](qsizetype index) {
        for (; next < c->offPlan.size() && c->offPlan[next].after <= index; ++next) {
            const OffPlan& o = c->offPlan[next];
            if (o.done.value_or(madeOnDisk(o.move)))
                done << o.move;
        }
    };
    for (qsizetype i = 0; i < c->plan.size(); ++i) {
        offPlanUpTo(i);
        const char mark = c->marks[i];
        if (mark == kDone || (mark == kUnderWay && madeOnDisk(c->plan[i])))
            done << c->plan[i];
    }
    offPlanUpTo(c->plan.size());
    for (const Move& m : std::as_const(done))
        if (!isTemporary(m.to))
            ++out.completed;

    // Files the batch parked and never moved on.
    QHash<QString, QString> intended;  // temporary path -> where the plan meant it to go
    for (const Move& m : c->plan)
        if (isTemporary(m.from))
            intended.insert(m.from, m.to);
    QSet<QString> movedOn;
    for (const Move& m : std::as_const(done))
        if (isTemporary(m.from))
            movedOn.insert(m.from);
    QList<qsizetype> putBack;  // parks undone by the file going back where it was
    const qsizetype count = done.size();
    for (qsizetype k = 0; k < count; ++k) {
        const Move park = done[k];
        if (!isTemporary(park.to) || movedOn.contains(park.to) || !SafeMove::exists(park.to))
            continue;
        auto tryMove = [&](const QString& to) { return !SafeMove::move(park.to, to); };
        std::optional<QString> landed;
        if (const QString meant = intended.value(park.to); !meant.isEmpty() && tryMove(meant))
            landed = meant;
        else
            landed = rescueTarget(park.from, tryMove);
        if (!landed) {
            out.stillHidden << park.to;
            continue;
        }
        ++out.unhidden;
        if (*landed == park.from)
            putBack << k;
        else
            done << Move{park.to, *landed};
    }
    std::sort(putBack.begin(), putBack.end(), std::greater<>());
    for (qsizetype k : std::as_const(putBack))
        done.removeAt(k);
    return out;
}
