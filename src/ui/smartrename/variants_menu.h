#pragma once
// The menus that apply a saved variant or a saved Batch Rules preset to the results: the
// toolbar's (every name, and Reset all) and a row's (that name only, and its reset).
#include <QUuid>
#include <optional>

class QMenu;
class Store;

// The variants, then a "Batch Rules presets" section when presets are saved. With a row id
// the entries apply to that row only.
void addVariantAndPresetEntries(QMenu* menu, Store& store, const std::optional<QUuid>& rowId);
// Rebuilds the toolbar's Variants menu.
void fillToolbarVariantsMenu(QMenu* menu, Store& store);
// Rebuilds a row's variant menu.
void fillRowVariantMenu(QMenu* menu, Store& store, const QUuid& rowId);
// Whether any variant or saved preset can be offered.
bool hasVariantsToOffer(const Store& store);
