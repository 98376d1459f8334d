#pragma once
// The first row of the main window: title, language switch, the list commands and the folder
// watch. It keeps no state of its own; everything is read from and written to the Store. It
// shows one row when that row fits the width it gets, otherwise two rows.
#include <QWidget>

class Dialogs;
class QHBoxLayout;
class QLabel;
class QToolButton;
class SegmentedControl;
class Store;

class Toolbar : public QWidget {
    Q_OBJECT
public:
    Toolbar(Store& store, Dialogs& dialogs, QWidget* parent = nullptr);

    bool isCompact() const { return m_compact; }
    QSize minimumSizeHint() const override;

    // The "Watch" button: a folder panel with an "Include subfolders" checkbox.
    void chooseWatchFolder();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void refresh();
    void updateWatch();
    int wideWidth() const;
    void arrange(bool compact);

    Store& m_store;
    Dialogs& m_dialogs;
    QWidget* m_title;
    SegmentedControl* m_lang;
    QToolButton* m_addFiles;
    QToolButton* m_addFolder;
    QToolButton* m_sort;
    QToolButton* m_clear;
    QToolButton* m_watch;
    QHBoxLayout* m_row1;
    QHBoxLayout* m_row2;
    bool m_compact = false;
};
