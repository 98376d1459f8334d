#pragma once
// The Metadata tab: a segmented picker of its three modes above the mode's screen. Editor mode
// stays while the tab lives (its selection kept); the bin table and log screens are made anew
// each time their mode is chosen.
#include <QWidget>

class Dialogs;
class MetadataEditor;
class QStackedWidget;
class SegmentedControl;
class Store;

class MetadataView : public QWidget {
    Q_OBJECT
public:
    MetadataView(Store& store, Dialogs& dialogs, QWidget* parent = nullptr);

    int mode() const { return m_mode; }
    void setMode(int mode);

    SegmentedControl* modePicker() const { return m_picker; }
    MetadataEditor* editor() const { return m_editor; }
    // The bin table or log page while one of those modes is shown; nullptr in editor mode.
    QWidget* modePage() const { return m_modePage; }

private:
    Store& m_store;
    Dialogs& m_dialogs;
    int m_mode = 0;
    SegmentedControl* m_picker = nullptr;
    QStackedWidget* m_pages = nullptr;
    MetadataEditor* m_editor = nullptr;
    QWidget* m_modePage = nullptr;
};
