#pragma once
// The Email tab: the template row, the template editor while Edit is on, the files the
// e-mails are about, the custom values, Generate and Clear, and the results. Built afresh
// each time the tab is shown, it starts the tab's state afresh and takes the files Smart
// Rename handed over, or else the loaded files.
#include <QWidget>

class Store;
class Dialogs;
class Clipboard;
class QPushButton;
class EmailTemplateRow;
class EmailTemplateEditor;
class EmailSourcesView;
class EmailResultsView;

class EmailView : public QWidget {
    Q_OBJECT
public:
    EmailView(Store& store, Dialogs& dialogs, Clipboard& clipboard, QWidget* parent = nullptr);

    EmailTemplateRow* templateRow() const { return m_row; }
    EmailTemplateEditor* editor() const { return m_editor; }
    EmailSourcesView* sources() const { return m_sources; }
    EmailResultsView* results() const { return m_results; }
    QPushButton* generateButton() const { return m_generate; }
    QPushButton* clearButton() const { return m_clear; }

private:
    void refresh();

    Store& m_store;
    EmailTemplateRow* m_row;
    EmailTemplateEditor* m_editor;
    EmailSourcesView* m_sources;
    EmailResultsView* m_results;
    QPushButton* m_generate;
    QPushButton* m_clear;
};
