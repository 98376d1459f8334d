#pragma once
// The cut types of the CUSTOM style: a row per cut type with its name and comma-separated
// variants, a delete button per row, Add and Reset to defaults. Every keystroke is stored at
// once; the variants field shows the stored, normalised form again when its editing finishes
// (not while typing, which would swallow a ", " just typed).
#include <QList>
#include <QUuid>
#include <QWidget>

class Store;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

class CutTypeEditor : public QWidget {
    Q_OBJECT
public:
    explicit CutTypeEditor(Store& store, QWidget* parent = nullptr);

    struct Row {
        QUuid id;
        QWidget* widget = nullptr;
        QLineEdit* name = nullptr;
        QLineEdit* variants = nullptr;
        QToolButton* remove = nullptr;
    };
    const QList<Row>& rows() const { return m_rows; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* resetButton() const { return m_reset; }

private:
    void follow();
    void rebuild();
    Row makeRow(const QUuid& id);

    Store& m_store;
    QPushButton* m_add;
    QPushButton* m_reset;
    QVBoxLayout* m_rowsLayout;
    QList<Row> m_rows;
};
