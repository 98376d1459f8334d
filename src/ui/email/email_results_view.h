#pragma once
// The lower half of the Email tab: where the files come from, the values typed for the picked
// template's custom fields, and the generated e-mails with their copy buttons. The texts of
// the results can be edited before they are copied.
#include <QList>
#include <QStringList>
#include <QUuid>
#include <QWidget>

class Store;
class Clipboard;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QHBoxLayout;
class QVBoxLayout;

// The source row and the custom values.
class EmailSourcesView : public QWidget {
    Q_OBJECT
public:
    explicit EmailSourcesView(Store& store, QWidget* parent = nullptr);

    QLabel* sourceLabel() const { return m_source; }
    QPushButton* useLoadedButton() const { return m_useLoaded; }
    QWidget* customValuesSection() const { return m_customSection; }
    // The text field of a custom field; null when the picked template has no such field.
    QLineEdit* customValueField(const QString& field) const;

    void refresh();

private:
    Store& m_store;
    QLabel* m_source;
    QPushButton* m_useLoaded;
    QWidget* m_customSection;
    QHBoxLayout* m_fieldRow;
    QStringList m_fieldNames;
    QList<QLineEdit*> m_fields;
};

// The batch e-mail or the per-file e-mails, whichever the picked template and the last
// Generate call for.
class EmailResultsView : public QWidget {
    Q_OBJECT
public:
    EmailResultsView(Store& store, Clipboard& clipboard, QWidget* parent = nullptr);

    QWidget* batchView() const { return m_batch; }
    QPlainTextEdit* batchEditor() const { return m_batchText; }
    QPushButton* copyButton() const { return m_copy; }
    QWidget* perFileView() const { return m_perFile; }
    QLabel* resultsHeader() const { return m_header; }
    QPushButton* copyAllButton() const { return m_copyAll; }
    QList<QPlainTextEdit*> cardEditors() const { return m_cardTexts; }
    QList<QPushButton*> cardCopyButtons() const { return m_cardCopies; }

    void refresh();

private:
    void rebuildCards();

    Store& m_store;
    Clipboard& m_clipboard;
    QWidget* m_batch;
    QPlainTextEdit* m_batchText;
    QPushButton* m_copy;
    QWidget* m_perFile;
    QLabel* m_header;
    QPushButton* m_copyAll;
    QVBoxLayout* m_cards;
    QList<QUuid> m_cardIds;
    QList<QWidget*> m_cardWidgets;
    QList<QPlainTextEdit*> m_cardTexts;
    QList<QPushButton*> m_cardCopies;
};
