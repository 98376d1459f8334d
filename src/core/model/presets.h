#pragma once
// Rule presets: one JSON file per preset in the support folder, and the bundle that carries them
// all. Preset names exist only as file names; the list of them is the Store's Presets group.
// Owned by the Store and reached through Store::presets().
#include "model/gui_preset.h"

#include <QString>
#include <optional>

class Store;

// What an import did. A write that fails stops it; the presets written before it stay.
struct PresetImport {
    enum class Failure { none, unreadable, notPresets, notSaved };
    Failure failure = Failure::none;
    QString error;     // the reason, for unreadable and notSaved
    int imported = 0;  // files written, also when a later one failed
    int total = 0;     // presets the file holds
};

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
    // A missing file changes nothing; one that cannot be read or decoded is reported.
    void load(const QString& name);
    std::optional<GUIPreset> read(const QString& name) const;
    // True when the file is gone afterwards (also when it was already missing).
    bool remove(const QString& name);
    // An error text, empty on success.
    QString exportAll(const QString& destination) const;
    PresetImport importFrom(const QString& source);

private:
    Store& m_store;
};
