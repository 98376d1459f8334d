#pragma once
// The bin toolbar's "Import / Export" menu: importing a CSV, ALE, FCPXML or FCP7 XML file into
// the bin, and exporting every row as one of those or as an EDL, through the Dialogs panels.
#include <functional>

class Dialogs;
class QMenu;
class Store;

// Fills the menu anew each time it opens, so its texts and enabling are current. The Export
// submenu's "CSV field mapping…" entry calls `openFieldMapSheet`.
void attachImportExportMenu(QMenu* menu, Store& store, Dialogs& dialogs, std::function<void()> openFieldMapSheet);
