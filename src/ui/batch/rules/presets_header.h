#pragma once
// The rules panel's header with the presets menu, the row of preset buttons below it and the
// preset file actions (save, export, import).
#include "common/lang_binder.h"

#include <QWidget>

class Dialogs;
class QHBoxLayout;
class QMenu;
class QScrollArea;
class Store;

class PresetsHeader : public QWidget {
    Q_OBJECT
public:
    PresetsHeader(Store& store, Dialogs& dialogs, QWidget* parent = nullptr);

    QMenu* presetsMenu() const { return m_presetsMenu; }
    QWidget* buttonRow() const;

    // Presets menu actions.
    void savePreset();
    void exportPresetsToFile();
    void importPresetsFromFile();

private:
    QWidget* buildTitleRow();
    QWidget* buildPresetButtons();
    void rebuild();
    void rebuildPresetsMenu();
    void rebuildPresetButtons();

    Store& m_store;
    Dialogs& m_dialogs;
    LangBinder m_tr;
    QMenu* m_presetsMenu = nullptr;
    QScrollArea* m_presetScroll = nullptr;
    QHBoxLayout* m_presetButtonsLayout = nullptr;
};
