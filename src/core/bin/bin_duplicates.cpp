#include "bin_duplicates.h"

#include "bin/bin_controller.h"
#include "bin/file_fingerprint.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QFuture>
#include <QHash>
#include <QtConcurrent/QtConcurrentRun>

namespace {
const QString kColumn = QStringLiteral("Duplicate");
const QString kKey = QStringLiteral("custom:Duplicate");
}  // namespace

struct BinDuplicates::Scan {
    QList<QUuid> ids;
    QList<std::optional<QString>> prints;
    bool stopped = false;
};

QList<QList<int>> duplicateGroups(const QList<std::optional<QString>>& fingerprints)
{
    QHash<QString, int> groupOf;
    QList<QList<int>> groups;
    for (int i = 0; i < fingerprints.size(); ++i) {
        if (!fingerprints[i])
            continue;
        auto it = groupOf.constFind(*fingerprints[i]);
        if (it == groupOf.cend()) {
            groupOf.insert(*fingerprints[i], int(groups.size()));
            groups.append(QList<int>{i});
        } else {
            groups[*it].append(i);
        }
    }
    groups.removeIf([](const QList<int>& g) { return g.size() < 2; });
    return groups;
}

BinDuplicates::BinDuplicates(BinController& bin, Store& store) : m_bin(bin), m_store(store)
{
    // One file at a time: parallel reads only make a spinning disk seek.
    m_pool.setMaxThreadCount(1);
}

BinDuplicates::~BinDuplicates()
{
    *m_closing = true;
    m_pool.waitForDone();
}

void BinDuplicates::findDuplicates()
{
    if (m_bin.busy())
        return;
    QList<QPair<QUuid, QString>> jobs;
    for (const BinRow& row : m_bin.rows())
        if (row.url)
            jobs.append({row.id, *row.url});
    m_running = true;
    m_bin.setStopRequested(false);
    m_bin.setBusy(true);
    const BinController* bin = &m_bin;
    QtConcurrent::run(&m_pool, [jobs, bin, closing = m_closing] {
        Scan scan;
        scan.ids.reserve(jobs.size());
        scan.prints.reserve(jobs.size());
        for (const auto& [id, path] : jobs) {
            if (*closing || bin->stopRequested()) {
                scan.stopped = true;
                break;
            }
            scan.ids.append(id);
            scan.prints.append(fileFingerprint(path));
        }
        return scan;
    }).then(this, [this](const Scan& scan) { apply(scan); });
}

// Rows are matched by id: the user may sort, edit or remove rows while the scan runs, and the
// numbers follow the table as it is when the scan ends.
void BinDuplicates::apply(const Scan& scan)
{
    const auto done = [this] {
        m_running = false;
        m_bin.setBusy(false);
        emit finished();
    };
    if (scan.stopped) {
        m_store.setStatus(L("Stopped. No duplicates were marked.", "已停止。未标记重复。"));
        return done();
    }
    QHash<QUuid, QString> byId;
    for (int k = 0; k < scan.ids.size(); ++k)
        if (scan.prints[k])
            byId.insert(scan.ids[k], *scan.prints[k]);
    QList<std::optional<QString>> inTable;
    for (const BinRow& row : m_bin.rows()) {
        const auto it = byId.constFind(row.id);
        inTable.append(row.url && it != byId.cend() ? std::optional<QString>(*it) : std::nullopt);
    }
    const QList<QList<int>> groups = duplicateGroups(inTable);

    if (!m_bin.customCols().contains(kColumn))
        m_bin.setCustomCols(m_bin.customCols() + QStringList{kColumn});
    QSet<QUuid> duplicates;
    if (!groups.isEmpty()) {
        m_bin.pushToolSnapshot();
        m_bin.editRows([&](QList<BinRow>& rows) {
            QList<int> changed;
            for (int g = 0; g < groups.size(); ++g) {
                const QString n = QString::number(g + 1);
                for (int i : groups[g]) {
                    const bool first = i == groups[g].first();
                    rows[i].setValue((first ? QStringLiteral("original #") : QStringLiteral("dup #")) + n, kKey);
                    if (!first)
                        duplicates.insert(rows[i].id);
                    changed.append(i);
                }
            }
            return changed;
        });
    }
    m_bin.setSelection(duplicates);
    if (duplicates.isEmpty()) {
        m_store.setStatus(L("No duplicates found.", "未发现重复文件。"));
    } else {
        const QString d = QString::number(duplicates.size());
        const QString g = QString::number(groups.size());
        m_store.setStatus(Lang::zh()
                              ? QString::fromUtf8("发现 ") + d + QString::fromUtf8(" 个重复(") + g
                                    + QString::fromUtf8(" 组)。重复项已选中,按 Delete 删除。")
                              : "Found " + d + " duplicate(s) in " + g
                                    + QString::fromUtf8(" group(s). Duplicates selected — press Delete to remove."));
    }
    done();
}
