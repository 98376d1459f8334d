#pragma once
// Saving every pending change of the bin in one pass over the table: a renamed name or
// extension moves the file on disk (never over another file), changed fields are written into
// the file, and what could not be done is counted for the status line. All moves of one save are
// recorded as one undo batch. Video writes run off the GUI thread; the table stays usable.
#include "bin/bin_row.h"
#include "model/store.h"

#include <QFutureWatcher>
#include <QObject>
#include <QUuid>

class BinController;

class BinSave : public QObject {
    Q_OBJECT
public:
    struct Counts {
        int saved = 0;    // files whose metadata was written
        int renamed = 0;  // moves made on disk
        int offline = 0;
        int refused = 0;  // edited names the validation rejected
        int failed = 0;   // occupied targets, failed moves, failed metadata writes
    };

    BinSave(Store& store, BinController& bin);
    ~BinSave() override;

    // Asks before renaming files on disk, then saves; returns at once when a video is written.
    void saveAll();
    bool running() const { return m_running; }

    // The Save button's title for `pending` changes.
    static QString label(int pending);
    // The status sentence after a save.
    static QString statusText(const Counts& counts);
    // Whether the row's fields differ from what was last loaded or saved.
    static bool hasMetadataChange(const BinRow& row, const MetaDrafts& meta);

signals:
    void finished();

private:
    bool confirmRenames();
    void step();
    void saveName(BinRow& row);
    void saveExtension(BinRow& row);
    bool moveRow(BinRow& row, const QString& target);
    // False when a video write was started; the save goes on when it is done.
    bool saveMetadata(const BinRow& row);
    void metadataWritten(const QUuid& id, const MetaFields& typed, bool ok);
    void finish();
    int indexOf(const QUuid& id) const;
    void putRow(const BinRow& row);

    Store& m_store;
    BinController& m_bin;
    bool m_running = false;
    QList<QUuid> m_ids;
    qsizetype m_next = 0;
    Counts m_counts;
    MoveBatch m_moves;
    QFutureWatcher<bool> m_videoWrite;
};
