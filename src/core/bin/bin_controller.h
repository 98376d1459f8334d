#pragma once
// The bin table without widgets: its rows kept in step with the Store's file list, the
// selection, background metadata reads and the whole-table undo of its edits. The Store owns
// it, so it outlives a switch of modes and a load it started is neither lost nor run twice.
// Each group of operations (column tools, row actions, custom columns, presets, the file tools)
// is a class of its own, owned here; they change rows only through editRows/writeRow, which
// store every changed row's fields as its draft through the Store's edit path.
#include "bin/bin_desk.h"
#include "bin/bin_row.h"
#include "interchange/export_item.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QThreadPool>
#include <QUuid>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class BinSave;
class Store;
class MetadataReader;
struct BinSortKey;
class BinColumnTools;
class BinRowActions;
class BinCustomColumns;
class BinPresets;
class BinExportPresets;
class BinDuplicates;
class BinCategories;
class BinTranslator;
class BinProxies;
class BinLogging;
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
    // The screens' side; none in a bin without a screen.
    BinDesk* desk() const { return m_desk.get(); }

    // ---- operation groups ----
    BinColumnTools& columnTools() { return *m_columnTools; }
    BinRowActions& rowActions() { return *m_rowActions; }
    BinCustomColumns& customColumns() { return *m_customColumns; }
    BinPresets& presets() { return *m_presets; }
    // Saved CSV column lists, and the CSV column sheet's state.
    BinExportPresets& exportPresets() { return *m_exportPresets; }
    // The Tools menu: duplicates, AI categories and category folders, column translation, proxies.
    BinDuplicates& duplicates() { return *m_duplicates; }
    BinCategories& categories() { return *m_categories; }
    BinTranslator& translator() { return *m_translator; }
    BinProxies& proxies() { return *m_proxies; }
    // Save all changes: renames, extension changes and metadata written into the files.
    BinSave& saver() { return *m_save; }
    // Log mode: Scene and Take clip by clip into the drafts.
    BinLogging& logging() { return *m_logging; }

    // ---- state ----
    const QList<BinRow>& rows() const { return m_rows; }
    // Replaces the rows whole (an import merge); takes no snapshot.
    void setRows(QList<BinRow> rows);
    const QSet<QUuid>& selection() const { return m_selection; }
    void setSelection(QSet<QUuid> ids);
    bool busy() const { return m_busy; }
    void setBusy(bool on);
    // Safe from any thread: a tool's worker checks it between files.
    bool stopRequested() const { return m_stopRequested; }
    void setStopRequested(bool on) { m_stopRequested = on; }
    // Empty: the table's own order.
    void setSortOrder(SortOrder order) { m_sortOrder = std::move(order); }
    const QStringList& customCols() const { return m_customCols; }
    // Also becomes the Store's list of custom columns.
    void setCustomCols(const QStringList& names);
    const QJsonObject& columnCustomization() const { return m_colcust; }
    void setColumnCustomization(const QJsonObject& c) { m_colcust = c; }
    // A saved layout: the table is rebuilt with this column customization.
    void applyColumnLayout(const QJsonObject& customization);
    int tableID() const { return m_tableID; }
    // The columns CSV export writes; none means the automatic columns.
    const std::optional<QList<Exporter::CSVFieldMap>>& csvFields() const { return m_csvFields; }
    void setCsvFields(std::optional<QList<Exporter::CSVFieldMap>> fields) { m_csvFields = std::move(fields); }
    const QList<QList<BinRow>>& metaHistory() const { return m_metaHistory; }
    const std::optional<QString>& lastEditKey() const { return m_lastEditKey; }
    void setLastEditKey(std::optional<QString> key) { m_lastEditKey = std::move(key); }
    const QSet<QString>& defaultHidden() const { return m_defaultHidden; }

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
    // A tool's edit starts here: one snapshot, and the next cell edit starts a snapshot of its own.
    void pushToolSnapshot();
    // Puts the row at its index and stores its fields as the file's draft.
    void writeRow(int index, const BinRow& row);
    // Stores the fields of the rows at these indices as their drafts, in one Store edit, and
    // tells the screens once.
    void writeRows(const QList<int>& indices);
    // `change` edits the rows in place and returns the indices it changed; those are written
    // as writeRows does.
    template <typename F> void editRows(F&& change)
    {
        const QList<int> changed = change(m_rows);
        writeRows(changed);
    }
    void undoMetaEdit();
    static QString kindLabel(const BinRow& row);

signals:
    void rowsChanged();
    // A cell edit changed this row and nothing else.
    void rowEdited(const QUuid& id);
    // Read results landed in these rows (a slice of stills or one video).
    void rowsLoaded(const QList<QUuid>& ids);
    void selectionChanged();
    void busyChanged();
    void columnsChanged();

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
    void mergeColumnIds();
    void setStatus(const QString& text);

    Store& m_store;
    std::shared_ptr<BinDesk> m_desk;
    QList<BinRow> m_rows;
    QSet<QUuid> m_selection;
    bool m_busy = false;
    std::atomic<bool> m_stopRequested = false;
    SortOrder m_sortOrder;
    QStringList m_customCols;
    QJsonObject m_colcust;
    int m_tableID = 0;
    std::optional<QList<Exporter::CSVFieldMap>> m_csvFields;
    QList<QList<BinRow>> m_metaHistory;
    std::optional<QString> m_lastEditKey;
    QSet<QString> m_defaultHidden = {"city", "country", "gps", "keywords", "online"};

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

    std::unique_ptr<BinColumnTools> m_columnTools;
    std::unique_ptr<BinRowActions> m_rowActions;
    std::unique_ptr<BinCustomColumns> m_customColumns;
    std::unique_ptr<BinPresets> m_presets;
    std::unique_ptr<BinExportPresets> m_exportPresets;
    std::unique_ptr<BinCategories> m_categories;
    std::unique_ptr<BinTranslator> m_translator;
    std::unique_ptr<BinProxies> m_proxies;
    std::unique_ptr<BinLogging> m_logging;
    std::unique_ptr<BinDuplicates> m_duplicates;  // its worker is stopped before the rest goes
    std::unique_ptr<BinSave> m_save;              // last: a movie being written finishes first
};
