#pragma once
// The rename log sheet's content: every move the application made on disk, newest first, with
// a search over the paths, a confirmed clear and a CSV export of the whole log. The window that
// holds it closes when it emits finished().
#include "app/rename_log_export.h"

#include <QWidget>
#include <functional>

class Dialogs;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableView;
class RenameLogModel;
class Store;

class RenameLogSheet : public QWidget {
    Q_OBJECT
public:
    // clearLog empties the log; empty: History::clearRenameLog (which also schedules the save).
    RenameLogSheet(Store& store, Dialogs& dialogs, std::function<void()> clearLog = {}, QWidget* parent = nullptr);

    QList<RenameLogRow> filteredEntries() const;
    static QString actionTitle(const QString& action);
    void clearLog();   // asks first
    void exportCSV();  // asks for a file

    QLineEdit* searchField() const { return m_search; }
    QTableView* table() const { return m_table; }
    QLabel* emptyLabel() const { return m_empty; }
    QLabel* countLabel() const { return m_count; }
    QPushButton* clearButton() const { return m_clear; }
    QPushButton* exportButton() const { return m_export; }
    QPushButton* doneButton() const { return m_done; }

signals:
    void finished();

private:
    void refresh();
    void relabel();

    Store& m_store;
    Dialogs& m_dialogs;
    std::function<void()> m_clearLog;
    RenameLogModel* m_model;
    QLabel* m_title;
    QLineEdit* m_search;
    QStackedWidget* m_content;
    QLabel* m_empty;
    QTableView* m_table;
    QLabel* m_count;
    QPushButton* m_clear;
    QPushButton* m_export;
    QPushButton* m_done;
};
