#pragma once
// The Smart Rename tab: the style, the loaded-files and ignore rows, the pasted names, the
// toolbar and the results. Everything it shows lives in the Store, so leaving the tab and coming
// back shows the same text, results and running recognition.
#include <QWidget>

class Store;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class SmartRenameResultsModel;
class SmartRenameToolbar;

class SmartRenameView : public QWidget {
    Q_OBJECT
public:
    explicit SmartRenameView(Store& store, QWidget* parent = nullptr);

    QLabel* loadedCount() const { return m_loadedCount; }
    QPushButton* useLoadedButton() const { return m_useLoaded; }
    QCheckBox* keepExtBox() const { return m_keepExt; }
    QLineEdit* ignoreField() const { return m_ignore; }
    QPlainTextEdit* inputEditor() const { return m_input; }
    SmartRenameToolbar* toolbar() const { return m_toolbar; }
    QLabel* placeholder() const { return m_placeholder; }
    QLabel* duplicateWarning() const { return m_duplicateWarning; }
    QTableView* resultsView() const { return m_results; }
    SmartRenameResultsModel* resultsModel() const { return m_model; }

private:
    QWidget* namingPresetHeader();
    QWidget* loadedFilesSection();
    QWidget* ignoreRow();
    void buildResults();
    void refresh();
    void copyRow(int row);

    Store& m_store;
    QLabel* m_loadedCount = nullptr;
    QPushButton* m_useLoaded = nullptr;
    QCheckBox* m_keepExt = nullptr;
    QLineEdit* m_ignore = nullptr;
    QPlainTextEdit* m_input = nullptr;
    SmartRenameToolbar* m_toolbar = nullptr;
    QLabel* m_placeholder = nullptr;
    QLabel* m_duplicateWarning = nullptr;
    QTableView* m_results = nullptr;
    SmartRenameResultsModel* m_model = nullptr;
};
