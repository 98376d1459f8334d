#pragma once
// The CSV column sheet: which columns CSV export writes, in which order and under which header
// text, and the export presets. It shows a CSVFieldMapState and forwards every change to it;
// only Done and Reset to automatic reach the bin's column list.
#include "interchange/csv_field_map_state.h"

#include <QDialog>

class Dialogs;
class QListWidget;
class QMenu;
class QPushButton;
class QToolButton;

class CSVFieldMapView : public QDialog {
    Q_OBJECT
public:
    CSVFieldMapView(CSVFieldMapState state, Dialogs& dialogs, QWidget* parent = nullptr);

    const CSVFieldMapState& state() const { return m_state; }
    QListWidget* list() const { return m_list; }
    QToolButton* addFieldButton() const { return m_addField; }
    QPushButton* resetButton() const { return m_reset; }
    QToolButton* presetsButton() const { return m_presets; }

private:
    void rebuildList();
    QWidget* buildRow(int index);
    void fillAddMenu(QMenu* menu);
    void fillPresetsMenu(QMenu* menu);
    void savePreset();
    // Widgets are rebuilt from the state after a change, once the event that made it is over.
    void rebuildLater();

    CSVFieldMapState m_state;
    Dialogs& m_dialogs;
    QListWidget* m_list;
    QToolButton* m_addField;
    QPushButton* m_reset;
    QToolButton* m_presets;
    bool m_rebuildPending = false;
};
