#pragma once
// The panel under the template row while Edit is on: the picked template's name, mode, line
// template, body and custom fields, edited in place and saved with every change, and the reset
// of the whole list to the built-ins.
#include <QStringList>
#include <QWidget>

class Store;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QHBoxLayout;
class SegmentedControl;

class EmailTemplateEditor : public QWidget {
    Q_OBJECT
public:
    explicit EmailTemplateEditor(Store& store, QWidget* parent = nullptr);

    QLineEdit* nameField() const { return m_name; }
    SegmentedControl* modePicker() const { return m_mode; }
    QPushButton* resetAllButton() const { return m_resetAll; }
    QLineEdit* newFieldEntry() const { return m_newField; }
    QPushButton* addFieldButton() const { return m_addField; }
    QLineEdit* lineTemplateField() const { return m_line; }
    QPlainTextEdit* bodyEditor() const { return m_body; }
    QLabel* tokenHelpLabel() const { return m_tokenHelp; }
    // The remove button of a custom field's chip; null when the template has no such field.
    QPushButton* removeButton(const QString& field) const;

    void refresh();

private:
    void rebuildChips(const QStringList& fields);
    void addField();

    Store& m_store;
    QLineEdit* m_name;
    SegmentedControl* m_mode;
    QPushButton* m_resetAll;
    QHBoxLayout* m_chipRow;
    QList<QWidget*> m_chips;
    QStringList m_chipFields;
    QLineEdit* m_newField;
    QPushButton* m_addField;
    QWidget* m_lineSection;
    QLineEdit* m_line;
    QPlainTextEdit* m_body;
    QLabel* m_tokenHelp;
};
