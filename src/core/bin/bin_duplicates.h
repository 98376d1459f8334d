#pragma once
// Finding duplicate files in the bin: every row's file is fingerprinted on a worker (the window
// stays live and Stop ends the scan), then every member of a group of equal fingerprints is
// marked in the "Duplicate" column and all members but the first are selected, so that the
// user can remove them from the table. Owned by the BinController.
#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QUuid>
#include <atomic>
#include <memory>
#include <optional>

class BinController;
class Store;

// Groups of two or more equal fingerprints as lists of positions, each list ascending, the
// groups ordered by their first position. Positions without a fingerprint take no part.
QList<QList<int>> duplicateGroups(const QList<std::optional<QString>>& fingerprints);

class BinDuplicates : public QObject {
    Q_OBJECT
public:
    BinDuplicates(BinController& bin, Store& store);
    ~BinDuplicates() override;

    // Starts the scan and returns at once; the bin is busy until finished(). Does nothing while
    // the bin is busy with another tool.
    void findDuplicates();
    bool running() const { return m_running; }

signals:
    void finished();

private:
    struct Scan;
    void apply(const Scan& scan);

    BinController& m_bin;
    Store& m_store;
    bool m_running = false;
    std::shared_ptr<std::atomic<bool>> m_closing = std::make_shared<std::atomic<bool>>(false);
    QThreadPool m_pool;  // last: its worker is waited for before the rest goes
};
