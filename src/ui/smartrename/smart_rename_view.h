#pragma once
// The Smart Rename tab: the style, the Custom rules group (CUSTOM only), the variants manager,
// the loaded-files and ignore rows, the pasted names, the toolbar and the results, all in one
// scrolling column. Everything it shows lives in the Store, so leaving the tab and coming back
// shows the same text, results and running recognition.
#include <QUuid>
#include <QWidget>

class Dialogs;
class DisclosureGroup;
class NamingLayoutEditor;
class Store;
class TeachWordPopup;
class VariantsSection;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class SmartRenameResultsModel;
class SmartRenameToolbar;

class SmartRenameView : public QWidget {
    Q_OBJECT
public:
    SmartRenameView(Store& store, Dialogs& dialogs, QWidget* parent = nullptr);

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
    DisclosureGroup* customRulesGroup() const { return m_customRules; }
    NamingLayoutEditor* namingEditor() const { return m_namingEditor; }
    DisclosureGroup* variantsGroup() const { return m_variantsGroup; }
    VariantsSection* variantsSection() const { return m_variants; }
    TeachWordPopup* teachPopup() const { return m_teachPopup; }

    // Opens the Teach Word Split popup below its toolbar button, with empty fields.
    void openTeachWordSplit();
    // The variant menu of one result row, filled for that row; the caller owns it.
    QMenu* rowVariantMenu(int row);

private:
    QWidget* namingPresetHeader(QWidget* parent);
    QWidget* loadedFilesSection(QWidget* parent);
    QWidget* ignoreRow(QWidget* parent);
    void buildResults(QWidget* parent);
    void refresh();
    void rowClicked(int row, int column);

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
    DisclosureGroup* m_customRules = nullptr;
    NamingLayoutEditor* m_namingEditor = nullptr;
    DisclosureGroup* m_variantsGroup = nullptr;
    VariantsSection* m_variants = nullptr;
    TeachWordPopup* m_teachPopup = nullptr;
};
