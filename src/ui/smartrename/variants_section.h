#pragma once
// The variants manager: saving the current Batch Rules as a variant, copying a saved preset,
// and one row per variant with its name, what its rules do, and update, apply and delete.
#include <QList>
#include <QUuid>
#include <QWidget>

class Dialogs;
class Store;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

class VariantsSection : public QWidget {
    Q_OBJECT
public:
    VariantsSection(Store& store, Dialogs& dialogs, QWidget* parent = nullptr);

    struct Row {
        QUuid id;
        QWidget* widget = nullptr;
        QLineEdit* name = nullptr;
        QLabel* summary = nullptr;
        QToolButton* update = nullptr;
        QToolButton* apply = nullptr;
        QToolButton* remove = nullptr;
    };
    const QList<Row>& rows() const { return m_rows; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* copyPresetButton() const { return m_copyPreset; }

    void saveCurrentRulesAsVariant();

private:
    void follow();
    void rebuild();
    Row makeRow(const QUuid& id);

    Store& m_store;
    Dialogs& m_dialogs;
    QPushButton* m_save;
    QPushButton* m_copyPreset;
    QVBoxLayout* m_rowsLayout;
    QList<Row> m_rows;
};
