#pragma once
// The bin table screen (the Metadata tab's "Bin (table)" mode): the toolbar, the status line,
// the table (or the prompt of an empty bin), the Quick Edit help line while quick edit is on and
// the header tips. The rows, their edits and the tools live in the Store's bin controller, so
// leaving the mode loses nothing; the screen keeps only where the cell focus is.
#include <QPointer>
#include <QWidget>
#include <memory>

class BinDesk;
class BinTable;
class BinToolbar;
class CSVFieldMapView;
class Dialogs;
class QLabel;
class QStackedWidget;
class Store;

class BinView : public QWidget {
    Q_OBJECT
public:
    BinView(Store& store, Dialogs& dialogs, QWidget* parent = nullptr);
    ~BinView() override;

    BinToolbar* toolbar() const { return m_toolbar; }
    BinTable* table() const { return m_table; }
    QLabel* statusLine() const { return m_status; }
    QWidget* emptyState() const { return m_emptyState; }
    QLabel* quickEditHelp() const { return m_quickHelp; }
    QLabel* headerTips() const { return m_tips; }
    bool showsTable() const;
    // The CSV column sheet, opened over this screen from the Export submenu; null while closed.
    CSVFieldMapView* fieldMapSheet() const;
    void openFieldMapSheet();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildEmptyState();
    void refresh();

    Store& m_store;
    Dialogs& m_dialogs;
    std::shared_ptr<BinDesk> m_desk;
    BinToolbar* m_toolbar;
    QLabel* m_status;
    QStackedWidget* m_stack;
    QWidget* m_emptyState;
    BinTable* m_table;
    QLabel* m_quickHelp;
    QWidget* m_quickHelpDivider;
    QLabel* m_tips;
    QPointer<CSVFieldMapView> m_fieldMapSheet;
};
