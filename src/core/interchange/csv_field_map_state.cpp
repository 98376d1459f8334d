#include "csv_field_map_state.h"

#include <algorithm>

namespace {
const QString kCustomPrefix = QStringLiteral("custom:");
}  // namespace

CSVFieldMapState::CSVFieldMapState(Bindings bindings, QStringList candidateCustomKeys)
    : m_bindings(std::move(bindings)), m_candidates(std::move(candidateCustomKeys))
{}

CSVFieldMapState::Fields CSVFieldMapState::allKeys() const
{
    return Exporter::defaultCSVFields(m_candidates);
}

QString CSVFieldMapState::defaultTitle(const QString& key)
{
    if (key.startsWith(kCustomPrefix))
        return key.mid(kCustomPrefix.size());
    static const Fields builtIns = Exporter::defaultCSVFields({});
    for (const Exporter::CSVFieldMap& f : builtIns)
        if (f.key == key)
            return f.header;
    return key;
}

QStringList CSVFieldMapState::presetNames() const
{
    return m_bindings.presetNames ? m_bindings.presetNames() : QStringList();
}

void CSVFieldMapState::loadInitialState()
{
    const std::optional<Fields> fields = m_bindings.fields ? m_bindings.fields() : std::nullopt;
    loadPreset(fields ? *fields : allKeys());
}

void CSVFieldMapState::loadPreset(const Fields& list)
{
    m_included = list;
    m_excludedKeys.clear();
    for (const Exporter::CSVFieldMap& f : allKeys())
        if (std::none_of(list.begin(), list.end(), [&f](const Exporter::CSVFieldMap& c) { return c.key == f.key; }))
            m_excludedKeys.append(f.key);
}

void CSVFieldMapState::addColumn(const QString& key)
{
    m_included.append({key, defaultTitle(key)});
    m_excludedKeys.removeAll(key);
}

void CSVFieldMapState::removeColumn(const QString& key)
{
    m_included.removeIf([&key](const Exporter::CSVFieldMap& c) { return c.key == key; });
    m_excludedKeys.append(key);
}

void CSVFieldMapState::moveColumns(const QList<int>& sources, int destination)
{
    QList<int> from;
    for (int i : sources)
        if (i >= 0 && i < m_included.size() && !from.contains(i))
            from.append(i);
    std::sort(from.begin(), from.end());
    Fields moved;
    for (int i : from)
        moved.append(m_included.at(i));
    int at = std::clamp(destination, 0, int(m_included.size()));
    at -= int(std::count_if(from.begin(), from.end(), [at](int i) { return i < at; }));
    for (auto it = from.rbegin(); it != from.rend(); ++it)
        m_included.removeAt(*it);
    for (qsizetype i = 0; i < moved.size(); ++i)
        m_included.insert(at + i, moved.at(i));
}

void CSVFieldMapState::setHeader(int index, const QString& header)
{
    if (index >= 0 && index < m_included.size())
        m_included[index].header = header;
}

void CSVFieldMapState::resetToAutomatic()
{
    if (m_bindings.setFields)
        m_bindings.setFields(std::nullopt);
    if (m_bindings.dismiss)
        m_bindings.dismiss();
}

void CSVFieldMapState::saveAndDismiss()
{
    if (m_bindings.setFields)
        m_bindings.setFields(m_included);
    if (m_bindings.dismiss)
        m_bindings.dismiss();
}

void CSVFieldMapState::savePreset(const std::optional<QString>& name)
{
    if (name && !name->isEmpty() && m_bindings.onSave)
        m_bindings.onSave(*name, m_included);
}

void CSVFieldMapState::loadPresetNamed(const QString& name)
{
    if (!m_bindings.onLoad)
        return;
    if (const std::optional<Fields> list = m_bindings.onLoad(name))
        loadPreset(*list);
}

void CSVFieldMapState::deletePreset(const QString& name)
{
    if (m_bindings.onDelete)
        m_bindings.onDelete(name);
}
