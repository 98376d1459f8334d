#pragma once
// The Email tab's first row: the template picker and the template list's actions (New,
// Duplicate, Delete, Import, Export) and the Edit toggle.
#include <QWidget>

class Store;
class Dialogs;
class QComboBox;
class QPushButton;

class EmailTemplateRow : public QWidget {
    Q_OBJECT
public:
    EmailTemplateRow(Store& store, Dialogs& dialogs, QWidget* parent = nullptr);

    QComboBox* picker() const { return m_picker; }
    QPushButton* newButton() const { return m_new; }
    QPushButton* duplicateButton() const { return m_duplicate; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* importButton() const { return m_import; }
    QPushButton* exportButton() const { return m_export; }
    QPushButton* editButton() const { return m_edit; }

    void refresh();

private:
    void importTemplates();
    void exportTemplates();

    Store& m_store;
    Dialogs& m_dialogs;
    QComboBox* m_picker;
    QPushButton* m_new;
    QPushButton* m_duplicate;
    QPushButton* m_delete;
    QPushButton* m_import;
    QPushButton* m_export;
    QPushButton* m_edit;
};
