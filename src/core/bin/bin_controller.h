#pragma once
// The bin table without widgets: its rows kept in step with the Store's file list, the
// selection, background metadata reads, column tools with whole-table undo, row actions, custom
// columns and bin presets. The Store owns it, so it outlives a switch of modes and a load it
// started is neither lost nor run twice. Drafts change only through the Store's edit path.
#include "bin/bin_desk.h"
#include "bin/bin_row.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QThreadPool>
#include <QUuid>
#include <functional>
#include <memory>
#include <optional>

class BinSave;
class Store;
class MetadataReader;
struct BinSortKey;
struct FileItem;
struct MetaDrafts;

class BinController : public QObject {
    Q_OBJECT
public:
    struct FieldCol {
        QString id;  // column key
        QString title;
    };
    using SortOrder = std::function<bool(const BinRow&, const BinRow&)>;
    static constexpr int kSliceSize = 64;
    static constexpr int kHistoryLimit = 100;

    explicit BinController(Store& store);
    ~BinController() override;

    void setDesk(std::shared_ptr<BinDesk> desk) { m_desk = std::move(desk); }
    BinDesk* desk() const { return m_desk.get(); }
    // Save all changes: renames, extension changes and metadata written into the files.
    BinSave& saver() { return *m_save; }

    // ---- state ----
    const QList<BinRow>& rows() const { return m_rows; }
    // Replaces the rows whole (an import merge); takes no snapshot.
    void setRows(QList<BinRow> rows);
    const QSet<QUuid>& selection() const { return m_selection; }
    void setSelection(QSet<QUuid> ids);
    bool busy() const { return m_busy; }
    void setBusy(bool on);
    bool stopRequested() const { return m_stopRequested; }
    void setStopRequested(bool on) { m_stopRequested = on; }
    // Empty: the table's own order.
    void setSortOrder(SortOrder order) { m_sortOrder = std::move(order); }
    const QStringList& colClip() const { return m_colClip; }
    const QStringList& customCols() const { return m_customCols; }
    // Also becomes the Store's list of custom columns.
    void setCustomCols(const QStringList& names);
    const QJsonObject& columnCustomization() const { return m_colcust; }
    void setColumnCustomization(const QJsonObject& c) { m_colcust = c; }
    int tableID() const { return m_tableID; }
    const QList<QList<BinRow>>& metaHistory() const { return m_metaHistory; }
    const std::optional<QString>& lastEditKey() const { return m_lastEditKey; }
    void setLastEditKey(std::optional<QString> key) { m_lastEditKey = std::move(key); }
    const QSet<QString>& defaultHidden() const { return m_defaultHidden; }
    const QStringList& presetNames() const { return m_presetNames; }

    QList<FieldCol> fieldColumns() const;
    QList<int> selectedRowIndices() const;
    QString statusText() const;

    // ---- screen life, row sync and metadata loading ----
    // The bin mode is shown: rows follow the file list and the drafts again while shown.
    void onAppear();
    void onDisappear();
    void resetRows();
    void syncRows();
    void syncAndSortRows();
    void reloadMetadata();
    void loadMediaDrive();
    // A read result for one row; dropped when the row is gone or was edited since it was built.
    void applyLoadedMetadata(const QUuid& id, const MetaFields& loaded);
    // Reads queued or running.
    bool loading() const;

    // ---- edits ----
    // One change of a text cell; a run of changes to one cell is one undo step. A row that is
    // gone is left alone.
    void commitFieldEdit(const QString& text, const QUuid& id, const QString& column);
    // One checkbox toggle, each its own undo step.
    void commitCellEdit(bool on, const QUuid& id, const QString& column);
    // Sorts the rows now, and the rows a later sync brings in with them.
    void sortRows(const QList<BinSortKey>& order);
    void pushMetaHistory();
    // Puts the row at its index and stores its fields as the file's draft.
    void writeRow(int index, const BinRow& row);
    QList<int> targetRows() const;
    void copyColumn(const QString& key);
    void pasteColumn(const QString& key);
    void batchInput(const QString& key, const QString& title);
    void fillDown();
    void setClipNameFormula();
    void undoMetaEdit();
    static QString kindLabel(const BinRow& row);

    // ---- row actions ----
    QStringList selectedURLs(const QSet<QUuid>& ids) const;
    void openFiles(const QSet<QUuid>& ids);
    void quickLookRows(const QSet<QUuid>& ids);
    void revealInFinder(const QSet<QUuid>& ids);
    void copyPaths(const QSet<QUuid>& ids);
    void removeRows(const QSet<QUuid>& ids);

    // ---- custom columns and presets ----
    void addCustomColumn();
    void addColumns(const QStringList& names);
    QString presetFolder() const;
    void saveBinPreset();
    void loadBinPreset(const QString& name);
    void deleteBinPreset(const QString& name);
    void refreshBinPresetNames();

signals:
    void rowsChanged();
    // A cell edit changed this row and nothing else.
    void rowEdited(const QUuid& id);
    // Read results landed in these rows (a slice of stills or one video).
    void rowsLoaded(const QList<QUuid>& ids);
    void selectionChanged();
    void busyChanged();
    void columnsChanged();
    void presetNamesChanged();

private:
    using ReadJob = QPair<QUuid, QString>;
    struct SyncQueues {
        QList<ReadJob> stills;
        QList<ReadJob> videos;
    };

    QList<BinRow> mergeDraftsIntoRows() const;
    void addRowsFor(const QList<FileItem>& items, QSet<QUuid>& rowIds, MetaDrafts& meta, SyncQueues& queues);
    void relinkOffline(int index, const FileItem& item, MetaDrafts& meta, SyncQueues& queues);
    static void queueRead(const BinRow& row, SyncQueues& queues);
    void enqueue(SyncQueues queues);
    void readStills(const MetadataReader& reader);
    void readNextVideo();
    void applyBatch(const QList<QPair<QUuid, MetaFields>>& results);
    bool applyOne(const QUuid& id, const MetaFields& loaded, QHash<QUuid, MetaFields>& originals,
                  QHash<QUuid, MetaFields>& drafts);
    int indexOf(const QUuid& id) const;
    void writeRows(const QList<int>& indices);
    void mergeColumnIds();
    std::optional<QString> ask(const QString& title, const QString& message, const QString& start);
    void setStatus(const QString& text);

    Store& m_store;
    std::shared_ptr<BinDesk> m_desk;
    QList<BinRow> m_rows;
    QSet<QUuid> m_selection;
    bool m_busy = false;
    bool m_stopRequested = false;
    SortOrder m_sortOrder;
    QStringList m_colClip;
    QStringList m_customCols;
    QJsonObject m_colcust;
    int m_tableID = 0;
    QList<QList<BinRow>> m_metaHistory;
    std::optional<QString> m_lastEditKey;
    QSet<QString> m_defaultHidden = {"city", "country", "gps", "keywords", "online"};
    QStringList m_presetNames;

    bool m_shown = false;
    QList<QUuid> m_itemIds;  // the file list's ids at the last sync, to notice reorders
    // The read queues are shared with the still worker.
    QMutex m_readMutex;
    QList<ReadJob> m_stillQueue;
    QList<ReadJob> m_videoQueue;
    QSet<QUuid> m_queued;  // waiting in a queue, so a file is never queued twice
    mutable qsizetype m_findHint = 0;
    bool m_stillWorker = false;
    bool m_stopping = false;
    QThreadPool m_stillPool;  // after what its worker touches, so it is stopped first
    bool m_readingStills = false;
    bool m_readingVideo = false;
    // Offline rows taken over by a file: their non-empty cells go over the file's read values.
    QSet<QUuid> m_relinked;
    std::unique_ptr<BinSave> m_save;
};
