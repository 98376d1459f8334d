#pragma once
// Rule presets: one JSON file per preset in the support folder, and the bundle that carries them
// all. Preset names exist only as file names; the list of them is the Store's Presets group.
// Owned by the Store and reached through Store::presets().
#include "model/gui_preset.h"

#include <QString>
#include <optional>

class Store;

class Presets {
public:
    explicit Presets(Store& store) : m_store(store) {}

    // The current rules and extension section in their stored form, and the way back.
    GUIPreset current() const;
    void apply(const GUIPreset& p);

    QString folder() const;
    void refreshNames();
    // False when nothing was written (empty name or a failed write); the status line says which.
    bool save(const QString& name);
    void load(const QString& name);
    std::optional<GUIPreset> read(const QString& name) const;
    // True when the file is gone afterwards (also when it was already missing).
    bool remove(const QString& name);
    // Both return an error text (empty on success); import also returns the count.
    QString exportAll(const QString& destination) const;
    QString importFrom(const QString& source, int* count);

private:
    Store& m_store;
};
