// Bin presets (the table layout saved as a small JSON file).
#include "bin_presets.h"

#include "bin/bin_controller.h"
#include "bin/bin_desk.h"
#include "model/store.h"
#include "platform/atomic_write.h"
#include "platform/lang.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

namespace {
const QString kExtension = QStringLiteral(".binpreset");

struct BinPreset {
    QStringList customCols;
    QJsonObject customization;
};

QByteArray encode(const BinPreset& p)
{
    QJsonObject o;
    o.insert("customCols", QJsonArray::fromStringList(p.customCols));
    o.insert("customization", p.customization);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// Both members are required; anything else in the file is ignored.
std::optional<BinPreset> decode(const QByteArray& data)
{
    const QJsonObject o = QJsonDocument::fromJson(data).object();
    const QJsonValue cols = o.value("customCols");
    const QJsonValue custom = o.value("customization");
    if (!cols.isArray() || !custom.isObject())
        return std::nullopt;
    BinPreset p;
    for (const QJsonValue& v : cols.toArray()) {
        if (!v.isString())
            return std::nullopt;
        p.customCols.append(v.toString());
    }
    p.customization = custom.toObject();
    return p;
}

}  // namespace

QString BinPresets::presetFolder() const
{
    return QDir(m_store.supportFolder()).filePath("binpresets");
}

void BinPresets::saveBinPreset()
{
    BinDesk* desk = m_bin.desk();
    if (!desk)
        return;
    const auto name = desk->promptText(L("Save bin preset", "保存表格预设"), L("Preset name:", "预设名:"), {});
    if (!name || name->isEmpty())
        return;
    QDir().mkpath(presetFolder());
    const QString file = QDir(presetFolder()).filePath(QString(*name).replace(u'/', u'_') + kExtension);
    const QString error = writeAtomically(file, encode({m_bin.customCols(), m_bin.columnCustomization()}));
    refreshBinPresetNames();
    m_store.setStatus(error.isEmpty() ? L("Saved bin preset: ", "已保存表格预设:") + *name
                                      : L("Couldn't save bin preset: ", "无法保存表格预设:") + *name);
}

void BinPresets::loadBinPreset(const QString& name)
{
    QFile file(QDir(presetFolder()).filePath(name + kExtension));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const auto preset = decode(file.readAll());
    if (!preset)
        return;
    QStringList cols = m_bin.customCols();
    for (const QString& c : preset->customCols)
        if (!cols.contains(c))
            cols.append(c);
    if (cols != m_bin.customCols())
        m_bin.setCustomCols(cols);
    m_bin.applyColumnLayout(preset->customization);
    m_store.setStatus(L("Loaded bin preset: ", "已载入表格预设:") + name);
}

void BinPresets::deleteBinPreset(const QString& name)
{
    QFile::remove(QDir(presetFolder()).filePath(name + kExtension));
    refreshBinPresetNames();
}

void BinPresets::refreshBinPresetNames()
{
    const QDir dir(presetFolder());
    QStringList names;
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (entry.endsWith(kExtension))
            names.append(entry.chopped(kExtension.size()));
    std::sort(names.begin(), names.end());
    m_presetNames = names;
    emit presetNamesChanged();
}
