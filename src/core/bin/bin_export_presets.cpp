// Export presets (CSV column lists saved as small JSON files).
#include "bin_export_presets.h"

#include "bin/bin_columns.h"
#include "bin/bin_controller.h"
#include "model/store.h"
#include "platform/atomic_write.h"
#include "platform/json_util.h"
#include "platform/lang.h"
#include "platform/natural_sort.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace {
const QString kExtension = QStringLiteral(".exportpreset");

QByteArray encode(const BinExportPresets::Fields& columns)
{
    QJsonArray array;
    for (const Exporter::CSVFieldMap& c : columns)
        array.append(QJsonObject{{"key", c.key}, {"header", c.header}});
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

// Every object needs both texts; one bad object spoils the whole list.
std::optional<BinExportPresets::Fields> decode(const QByteArray& data)
{
    const std::optional<QJsonArray> array = Json::parseArray(data);
    if (!array)
        return std::nullopt;
    BinExportPresets::Fields columns;
    for (const QJsonValue& v : *array) {
        const QJsonValue key = v.toObject().value("key");
        const QJsonValue header = v.toObject().value("header");
        if (!v.isObject() || !key.isString() || !header.isString())
            return std::nullopt;
        columns.append({key.toString(), header.toString()});
    }
    return columns;
}
}  // namespace

QString BinExportPresets::presetFolder() const
{
    return QDir(m_store.supportFolder()).filePath("exportpresets");
}

void BinExportPresets::refreshExportPresetNames()
{
    QStringList found;
    for (const QString& entry : QDir(presetFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (entry.endsWith(kExtension))
            found.append(entry.chopped(kExtension.size()));
    QStringList names;
    for (int at : naturalOrder(found))
        names.append(found.at(at));
    m_names = names;
    emit exportPresetNamesChanged();
}

void BinExportPresets::saveExportPreset(const QString& name, const Fields& columns)
{
    QDir().mkpath(presetFolder());
    const QString file = QDir(presetFolder()).filePath(QString(name).replace(u'/', u'_') + kExtension);
    const QString error = writeAtomically(file, encode(columns));
    refreshExportPresetNames();
    m_store.setStatus(error.isEmpty() ? L("Saved export preset: ", "已保存导出预设:") + name
                                      : L("Couldn't save export preset: ", "无法保存导出预设:") + name);
}

std::optional<BinExportPresets::Fields> BinExportPresets::loadExportPreset(const QString& name)
{
    QFile file(QDir(presetFolder()).filePath(name + kExtension));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    std::optional<Fields> columns = decode(file.readAll());
    if (columns)
        m_store.setStatus(L("Loaded export preset: ", "已载入导出预设:") + name);
    return columns;
}

void BinExportPresets::deleteExportPreset(const QString& name)
{
    QFile::remove(QDir(presetFolder()).filePath(name + kExtension));
    refreshExportPresetNames();
}

QStringList BinExportPresets::candidateCustomKeys() const
{
    QStringList keys;
    for (const QStringList* group : {&BinColumns::logging(), &BinColumns::technical(), &m_bin.customCols()})
        for (const QString& name : *group)
            if (!keys.contains(name))
                keys.append(name);
    return keys;
}

CSVFieldMapState BinExportPresets::fieldMapSheet()
{
    CSVFieldMapState::Bindings b;
    b.fields = [this] { return m_bin.csvFields(); };
    b.setFields = [this](const std::optional<Fields>& fields) { m_bin.setCsvFields(fields); };
    b.presetNames = [this] { return m_names; };
    b.onSave = [this](const QString& name, const Fields& columns) { saveExportPreset(name, columns); };
    b.onLoad = [this](const QString& name) { return loadExportPreset(name); };
    b.onDelete = [this](const QString& name) { deleteExportPreset(name); };
    return CSVFieldMapState(std::move(b), candidateCustomKeys());
}
