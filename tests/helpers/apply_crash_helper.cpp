// Applies one journaled batch to every file of a folder and stops itself (SIGSTOP) at a chosen
// point, so that a test can kill it there exactly.
//   apply_crash_helper <folder> <support folder> <point> <n>
//   point: before  - before the n-th move (counted from 0, failed moves included)
//          after   - right after the n-th move, before the journal marks it
//          parked  - before the move that follows the n-th park (counted from 1)
//          end     - after the last move, before anything else is saved
// The batch: files sorted by name; the first two of every ten swap names, the others get "r_"
// in front. Exit code 3: the point was never reached.
#include "files/rename_journal.h"
#include "model/name_validation.h"

#include <QDir>

#include <csignal>
#include <cstdio>

namespace {

class StoppingDisk : public BatchDisk {
public:
    StoppingDisk(QString point, int n) : m_point(std::move(point)), m_n(n) {}

    bool exists(const QString& path) const override { return SafeMove::exists(path); }
    bool sameFile(const QString& a, const QString& b) const override { return isSameFile(a, b); }
    std::optional<MoveError> move(const QString& from, const QString& to) override
    {
        const int call = m_calls++;
        if ((m_point == "before" && call == m_n) || m_stopNext)
            stop();
        auto err = SafeMove::move(from, to);
        if (m_point == "after" && call == m_n)
            stop();
        if (!err && SafeMove::isTemporaryName(PathText::lastComponent(to)) && ++m_parks == m_n && m_point == "parked")
            m_stopNext = true;
        return err;
    }
    bool retryWithAccess(const QString&, const QString&, const std::optional<MoveError>&) override { return false; }
    QString temporaryName() override { return SafeMove::temporaryName(); }

    void stop()
    {
        std::fflush(nullptr);
        std::raise(SIGSTOP);
    }

private:
    QString m_point;
    int m_n = 0;
    int m_calls = 0;
    int m_parks = 0;
    bool m_stopNext = false;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s folder support point n\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString support = QString::fromLocal8Bit(argv[2]);
    const QString point = QString::fromLatin1(argv[3]);
    const int n = QByteArray(argv[4]).toInt();

    const QStringList names = folder.entryList(QDir::Files, QDir::Name);
    QList<FileItem> items;
    RenamePlan plan;
    for (qsizetype i = 0; i < names.size(); ++i) {
        items << FileItem::file(folder.filePath(names[i]));
        if (i % 10 == 0 && i + 1 < names.size())
            plan.insert(items.last().id, names[i + 1]);
        else if (i % 10 == 1)
            plan.insert(items.last().id, names[i - 1]);
        else
            plan.insert(items.last().id, "r_" + names[i]);
    }
    StoppingDisk disk(point, n);
    RenameJournal journal(RenameJournal::newPathIn(support));
    journal.run(items, plan, disk);
    if (point == "end")
        disk.stop();
    return 3;
}
