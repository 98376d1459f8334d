#pragma once
// The bin's toolbar, left to right: Reload, Media Drive, Columns, Edit, Undo edit, Quick Edit,
// Import / Export, Tools, Stop with its progress while a tool runs, and Save all changes.
#include <QWidget>

class BinController;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolButton;
class Store;

class BinToolbar : public QWidget {
    Q_OBJECT
public:
    BinToolbar(Store& store, BinController& bin, QWidget* parent = nullptr);

    QToolButton* reloadButton() const { return m_reload; }
    QToolButton* mediaDriveButton() const { return m_mediaDrive; }
    QToolButton* columnsButton() const { return m_columns; }
    QToolButton* editButton() const { return m_edit; }
    QToolButton* undoButton() const { return m_undo; }
    QToolButton* quickEditButton() const { return m_quickEdit; }
    QToolButton* importExportButton() const { return m_importExport; }
    QToolButton* toolsButton() const { return m_tools; }
    QPushButton* stopButton() const { return m_stop; }
    QProgressBar* progress() const { return m_progress; }
    QPushButton* saveAllButton() const { return m_saveAll; }
    // The menus as they are when opened now.
    QMenu* columnsMenu();
    QMenu* editMenu();
    QMenu* toolsMenu();

    // Undo edit, from its button and from Ctrl+Shift+Z: a typing cell's own redo first.
    void undoEdit();

signals:
    void saveAllRequested();

private:
    void refresh();
    void scheduleSaveLabel();
    void updateSaveLabel();
    void fillColumnsMenu(QMenu* menu);
    void fillEditMenu(QMenu* menu);
    void fillToolsMenu(QMenu* menu);
    void pairProxies();

    Store& m_store;
    BinController& m_bin;
    QToolButton* m_reload;
    QToolButton* m_mediaDrive;
    QToolButton* m_columns;
    QToolButton* m_edit;
    QToolButton* m_undo;
    QToolButton* m_quickEdit;
    QToolButton* m_relink = nullptr;
    QToolButton* m_importExport;
    QToolButton* m_tools;
    QProgressBar* m_progress;
    QPushButton* m_stop;
    QPushButton* m_saveAll;
    bool m_saveLabelPending = false;
};

// Empties a menu that is rebuilt at every opening, its submenus included.
void clearMenu(QMenu* menu);
