#pragma once
// The Batch Rules file list: one row per visible entry (index in Store::items(), item). New
// names are computed only for the rows the view asks for and kept until the next change of
// anything a name depends on; the filter, when active, needs the new name of every file.
#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QUuid>

class Store;
struct FileItem;

class BatchListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        StoreIndexRole = Qt::UserRole + 1,  // int: place in Store::items()
        ItemIdRole,                         // QUuid
        OldNameRole,                        // QString: the current full name
        NewNameRole,                        // QString
        ConflictRole,                       // QString: why the new name can't be used; null when it can
        ShowAIRole,                         // bool: the row offers the AI-name checkbox
        UseAIRole,                          // bool
    };
    static constexpr const char* kRowsMime = "application/x-brindlecove-rows";

    // selection: the screen's selected ids (it decides the scope "Selected files").
    BatchListModel(Store& store, const QSet<QUuid>& selection, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override { return {kRowsMime}; }
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    int storeIndex(int row) const { return m_filtered ? m_rows.value(row, -1) : row; }
    QModelIndex indexOfId(const QUuid& id) const;
    QString newNameAt(int storeIndex) const;
    QList<int> visibleIndices() const;

    void setFilter(const QString& text, bool changedOnly);
    bool isFiltering() const;
    const QString& filterText() const { return m_filterText; }
    bool changedOnly() const { return m_changedOnly; }

    // Like namesChanged, the screen repaints the rows itself.
    void setConflicts(QHash<QUuid, QString> conflicts);
    const QHash<QUuid, QString>& conflicts() const { return m_conflicts; }

    // Something a new name depends on changed (rules, sections, metadata, the selection while
    // the scope is "Selected files"): drop the names, and refilter when filtering. Returns
    // whether the rows were rebuilt. Otherwise the rows stay and no dataChanged is sent: a
    // whole-list dataChanged makes a tree view with varying row heights measure every row,
    // so the screen repaints (and re-measures) only what it shows.
    bool namesChanged();

    // While the list paints, new names are computed only until the budget has passed since the
    // names changed (or since the last round), one name at least; the other rows show their
    // previous new name meanwhile and namesFilled() asks for another round. A pattern that is
    // slow on every name then cannot hold a keystroke. Outside painting every name is computed.
    void setPainting(bool on) { m_painting = on; }
    void setNameBudget(qint64 nanoseconds) { m_budgetNs = nanoseconds; }
    // The list itself changed (added, removed, reordered, renamed): rebuild the rows.
    void listChanged();

signals:
    // Rows dragged to another place: their indices in Store::items() and the destination.
    void moveRequested(const QList<int>& sourceOffsets, int destination);
    // Some rows painted a previous name: paint again to compute more of them.
    void namesFilled();

private:
    void rebuildRows();
    bool keep(int index) const;
    QString toolTip(int index) const;
    QString shownNameAt(int index) const;
    QStringList paintedControlNames(const QUuid& id) const;

    Store& m_store;
    const QSet<QUuid>& m_selection;
    bool m_filtered = false;  // m_rows holds the visible indices; otherwise every item is visible
    QList<int> m_rows;
    QString m_filterText;
    bool m_changedOnly = false;
    QHash<QUuid, QString> m_conflicts;
    mutable QHash<int, QString> m_newNames;       // this generation's names by item index
    QHash<QUuid, int> m_rowOfId;                  // built on demand, dropped with the rows
    mutable QHash<int, QString> m_previousNames;  // the generation before, shown while over budget
    mutable QElapsedTimer m_round;                // since the names changed or the last round
    mutable int m_namesThisRound = 0;
    mutable bool m_roundPending = false;
    qint64 m_budgetNs = 8'000'000;  // half a frame
    bool m_painting = false;
};
