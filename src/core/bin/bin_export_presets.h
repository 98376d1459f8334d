#pragma once
// Export presets: a CSV column list saved under a name as one small JSON file per preset in the
// support folder, shared by every bin screen. Owned by the BinController. The CSV column sheet
// saves, loads and deletes them through the callbacks fieldMapSheet() hands it.
#include "interchange/csv_field_map_state.h"

#include <QObject>
#include <QStringList>
#include <optional>

class BinController;
class Store;

class BinExportPresets : public QObject {
    Q_OBJECT
public:
    using Fields = QList<Exporter::CSVFieldMap>;

    BinExportPresets(BinController& bin, Store& store) : m_bin(bin), m_store(store) {}

    QString presetFolder() const;
    // A cached listing, read again by refreshExportPresetNames.
    const QStringList& exportPresetNames() const { return m_names; }
    // The folder's presets in the file manager's order; none when it cannot be read.
    void refreshExportPresetNames();
    void saveExportPreset(const QString& name, const Fields& columns);
    // Nothing, and no status, when the file cannot be read or is no column list.
    std::optional<Fields> loadExportPreset(const QString& name);
    void deleteExportPreset(const QString& name);
    // The logging group, the technical group, then the bin's own custom columns, each name once.
    QStringList candidateCustomKeys() const;
    // The sheet's state over the bin's CSV column list and these presets.
    CSVFieldMapState fieldMapSheet();

signals:
    void exportPresetNamesChanged();

private:
    BinController& m_bin;
    Store& m_store;
    QStringList m_names;
};
