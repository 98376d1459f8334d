#pragma once
// Bin presets: the table layout (custom columns and column customization) saved as a small
// JSON file per preset in the support folder. Owned by the BinController. File errors of
// saving, loading and deleting are silent.
#include <QObject>
#include <QStringList>

class BinController;
class Store;

class BinPresets : public QObject {
    Q_OBJECT
public:
    BinPresets(BinController& bin, Store& store) : m_bin(bin), m_store(store) {}

    QString presetFolder() const;
    const QStringList& presetNames() const { return m_presetNames; }
    void saveBinPreset();
    void loadBinPreset(const QString& name);
    void deleteBinPreset(const QString& name);
    void refreshBinPresetNames();

signals:
    void presetNamesChanged();

private:
    BinController& m_bin;
    Store& m_store;
    QStringList m_presetNames;
};
