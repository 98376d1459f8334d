#pragma once
// The CSV column sheet without widgets: the ordered columns being edited (key and header text),
// the keys that can be added back, and what Done, Reset to automatic and the preset entries do
// to the bin's column list. The sheet's widgets only show this state and forward to it.
#include "interchange/export_item.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class CSVFieldMapState {
public:
    using Fields = QList<Exporter::CSVFieldMap>;

    // What the sheet reads and changes outside itself. Absent `fields` means the automatic
    // columns. Every member may be left empty (then reads give nothing and calls do nothing).
    struct Bindings {
        std::function<std::optional<Fields>()> fields;
        std::function<void(const std::optional<Fields>&)> setFields;
        std::function<void()> dismiss;
        std::function<QStringList()> presetNames;
        std::function<void(const QString&, const Fields&)> onSave;
        // Nothing when the preset cannot be read.
        std::function<std::optional<Fields>(const QString&)> onLoad;
        std::function<void(const QString&)> onDelete;
    };

    CSVFieldMapState(Bindings bindings, QStringList candidateCustomKeys);

    void setDismiss(std::function<void()> dismiss) { m_bindings.dismiss = std::move(dismiss); }

    // The built-in columns with their default headers, then "custom:" + each candidate name.
    Fields allKeys() const;
    // The text after "custom:", a built-in key's default header, else the key itself.
    static QString defaultTitle(const QString& key);

    const Fields& included() const { return m_included; }
    const QStringList& excludedKeys() const { return m_excludedKeys; }
    const QStringList& candidateCustomKeys() const { return m_candidates; }
    QStringList presetNames() const;

    // The bin's list, or every key when it is automatic.
    void loadInitialState();
    void loadPreset(const Fields& list);
    void addColumn(const QString& key);
    void removeColumn(const QString& key);
    // A drag in the list: `destination` is an offset in the list as it was before the move.
    void moveColumns(const QList<int>& sources, int destination);
    void setHeader(int index, const QString& header);

    void resetToAutomatic();
    // Stores the edited list as it stands: an empty list stays empty, it is not automatic.
    void saveAndDismiss();
    // `name` is the prompt's answer, already trimmed; cancelled or blank saves nothing.
    void savePreset(const std::optional<QString>& name);
    // A preset that cannot be read leaves the columns as they are.
    void loadPresetNamed(const QString& name);
    void deletePreset(const QString& name);

private:
    Bindings m_bindings;
    QStringList m_candidates;
    Fields m_included;
    QStringList m_excludedKeys;
};
