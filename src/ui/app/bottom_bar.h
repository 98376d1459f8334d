#pragma once
// The last row of the main window: the status line, the feature switches and, in the two
// renaming modes, the undo controls with the undo-history menu. No state of its own.
#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QToolButton;
class Store;

class BottomBar : public QWidget {
    Q_OBJECT
public:
    explicit BottomBar(Store& store, QWidget* parent = nullptr);

    QMenu* featuresMenu() const { return m_features; }
    // Up to date with the Store (the rebuild after a change is deferred so that an entry of the
    // menu is never deleted while it runs).
    QMenu* historyMenu();
    QAction* undoAction() const { return m_undo; }

    // The history entry at `position` (0 = newest): undoes that many batches plus one.
    void undoBackTo(int position);

signals:
    void renameLogRequested();

private:
    void buildFeatures();
    void rebuildHistoryMenu();
    void refresh();

    Store& m_store;
    QLabel* m_status;
    QMenu* m_features;
    QAction* m_mediaDrive;
    QAction* m_showRestoreAll;
    QWidget* m_undoGroup;
    QToolButton* m_restoreAll;
    QAction* m_undo;
    QMenu* m_history;
    bool m_historyDirty = true;
};
