#pragma once
// The Batch Rules screen: the file list with a live preview of every new name and the reason
// each skipped file is skipped, the rules panel beside it, and the apply bar below. View state
// (selection, conflicts, filter) lives here and starts afresh each time the screen is built;
// rules and files live in the Store.
#include <QHash>
#include <QSet>
#include <QUuid>
#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>

class BatchListModel;
class BatchListView;
class BatchRowDelegate;
class Dialogs;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QTimer;
class SegmentedControl;
class Store;
struct FileItem;

class BatchView : public QWidget {
    Q_OBJECT
public:
    BatchView(Store& store, Dialogs& dialogs, QWidget* parent = nullptr);
    ~BatchView() override;

    // The rules panel shown in the right-hand column; the view takes ownership.
    void setRulesPanel(QWidget* panel);

    // ---- view state ----
    const QSet<QUuid>& selection() const { return m_selection; }
    void setSelection(const QSet<QUuid>& ids);  // as if the user selected these rows
    const QHash<QUuid, QString>& conflicts() const { return m_conflicts; }
    std::optional<int> changing() const { return m_changing; }
    bool isFiltering() const;
    // The shown entries: (place in Store::items(), item).
    QList<QPair<int, FileItem>> visibleItems() const;

    // ---- operations ----
    // Checks the names now, on this thread; any check still running is dropped.
    void refreshConflicts();
    // Checks the names on a worker thread from a snapshot of what they depend on; the result is
    // shown only if nothing changed meanwhile. Nothing happens while the shown result is current.
    void startConflictCheck();
    // The shown conflicts belong to the current names, rules, selection and list.
    bool conflictsCurrent() const { return m_checkedGeneration == m_generation; }
    void moveItems(const QList<int>& sourceOffsets, int destination);
    void copyNewNames(const QList<FileItem>& chosen);
    void quickLookSelection(const QSet<QUuid>& ids);
    void applyAction();
    bool confirmLargeRename();
    // The context menu's entries for the chosen ids (empty menu: nothing chosen).
    QMenu* contextMenuFor(const QSet<QUuid>& ids, QWidget* parent);

    // ---- widgets, for the window and for tests ----
    BatchListView* list() const { return m_list; }
    BatchListModel* model() const { return m_model; }
    BatchRowDelegate* rowDelegate() const { return m_delegate; }
    QLineEdit* filterField() const { return m_filterField; }
    QCheckBox* changedOnlyBox() const { return m_changedOnly; }
    QWidget* filterBar() const { return m_filterBar; }
    QLabel* filterCount() const { return m_filterCount; }
    QLabel* skipWarning() const { return m_skipWarning; }
    QWidget* emptyState() const { return m_emptyState; }
    SegmentedControl* scopePicker() const { return m_scope; }
    QLabel* scopeNote() const { return m_scopeNote; }
    QCheckBox* renameFoldersBox() const { return m_renameFolders; }
    QCheckBox* wrapNamesBox() const { return m_wrapNames; }
    QLabel* totalLabel() const { return m_total; }
    QLabel* statusLabel() const { return m_status; }
    QPushButton* applyButton() const { return m_apply; }
    QPushButton* sampleButton() const { return m_sample; }
    QTimer* conflictTimer() const { return m_conflictTimer; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildListPane();
    QWidget* buildHeader();
    QWidget* buildScopeRow();
    QWidget* buildFilterBar();
    void buildEmptyState(QStackedWidget* stack);
    QWidget* buildApplyBar();
    void connectStore();

    void onNamesChanged();
    // Whatever a conflict check depends on may have changed: the shown result is no longer current.
    void checkInputsChanged();
    void showConflicts(QHash<QUuid, QString> reasons, int willRename, quint64 generation);
    void onItemsChanged();
    void onUserSelectionChanged();
    // Ids no longer listed leave the selection; true when any did.
    bool dropUnlistedFromSelection();
    void pushSelectionToView();
    void updateListPane();
    void updateScopeNote();
    void updateFilterBar();
    void updateSkipWarning();
    void updateApplyBar();
    void showContextMenu(const QPoint& pos);
    QSet<QUuid> chosenIds(const QModelIndex& clicked) const;
    QList<FileItem> itemsWithIds(const QSet<QUuid>& ids) const;
    void removeSelected();

    Store& m_store;
    Dialogs& m_dialogs;
    QSet<QUuid> m_selection;
    QHash<QUuid, QString> m_conflicts;
    // Every change a check depends on moves the generation on; a result carries the one it saw.
    quint64 m_generation = 1;
    quint64 m_checkedGeneration = 0;
    quint64 m_runningGeneration = 0;  // of the check on the worker, 0 when none
    std::shared_ptr<std::atomic<bool>> m_cancelCheck;
    std::optional<int> m_changing;
    bool m_pushingSelection = false;
    bool m_listShown = false;

    BatchListModel* m_model = nullptr;
    BatchRowDelegate* m_delegate = nullptr;
    BatchListView* m_list = nullptr;
    QStackedWidget* m_listStack = nullptr;
    QWidget* m_emptyState = nullptr;
    QWidget* m_filterBar = nullptr;
    QLineEdit* m_filterField = nullptr;
    QCheckBox* m_changedOnly = nullptr;
    QLabel* m_filterCount = nullptr;
    QLabel* m_skipWarning = nullptr;
    SegmentedControl* m_scope = nullptr;
    QLabel* m_scopeNote = nullptr;
    QCheckBox* m_renameFolders = nullptr;
    QCheckBox* m_wrapNames = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_sample = nullptr;
    QScrollArea* m_rulesArea = nullptr;
    QTimer* m_conflictTimer = nullptr;
};
