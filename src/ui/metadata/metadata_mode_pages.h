#pragma once
// The Metadata tab's bin table and log modes. The tab asks for a new page each time one of them
// is chosen and drops it when another mode is chosen, so each starts from its defaults.
#include <QWidget>

class Dialogs;
class Store;

namespace MetadataModes {
inline constexpr int editor = 0;
inline constexpr int binTable = 1;
inline constexpr int log = 2;
}  // namespace MetadataModes

// A new page for the bin table (1) or log (2) mode.
QWidget* makeMetadataModePage(int mode, Store& store, Dialogs& dialogs, QWidget* parent);
