// Custom columns and bin presets (the table layout saved as a small JSON file).
#include "bin_controller.h"

#include "bin/bin_columns.h"
#include "model/store.h"
#include "platform/atomic_write.h"
#include "platform/lang.h"
#include "platform/settings.h"

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

QString trimBlanksAndTabs(QString text)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    qsizetype begin = 0, end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}
}  // namespace

void BinController::addCustomColumn()
{
    if (!m_desk)
        return;
    const auto answer = m_desk->promptCustomColumn();
    if (!answer)
        return;
    const QString name = trimBlanksAndTabs(QString(answer->first).replace(u',', u' '));
    if (name.isEmpty() || m_customCols.contains(name))
        return;
    setCustomCols(m_customCols + QStringList{name});
    if (!answer->second)
        return;
    m_store.editMeta([&name](MetaDrafts& m) { m.binCheckboxCols.insert(name); });
    QStringList names = m_store.meta().binCheckboxCols.values();
    std::sort(names.begin(), names.end());
    m_store.settings().setStringList("binCheckboxCols", names);
}

void BinController::addColumns(const QStringList& names)
{
    QStringList cols = m_customCols;
    for (const QString& name : names)
        if (!cols.contains(name))
            cols.append(name);
    if (cols != m_customCols)
        setCustomCols(cols);
    setStatus(L("Added ", "已添加 ") + QString::number(names.size()) + L(" columns.", " 列。"));
}

QString BinController::presetFolder() const
{
    return QDir(m_store.supportFolder()).filePath("binpresets");
}

void BinController::saveBinPreset()
{
    const auto name = ask(L("Save bin preset", "保存表格预设"), L("Preset name:", "预设名:"), {});
    if (!name || name->isEmpty())
        return;
    QDir().mkpath(presetFolder());
    const QString file = QDir(presetFolder()).filePath(QString(*name).replace(u'/', u'_') + kExtension);
    const QString error = writeAtomically(file, encode({m_customCols, m_colcust}));
    refreshBinPresetNames();
    setStatus(error.isEmpty() ? L("Saved bin preset: ", "已保存表格预设:") + *name
                              : L("Couldn't save bin preset: ", "无法保存表格预设:") + *name);
}

void BinController::loadBinPreset(const QString& name)
{
    QFile file(QDir(presetFolder()).filePath(name + kExtension));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const auto preset = decode(file.readAll());
    if (!preset)
        return;
    QStringList cols = m_customCols;
    for (const QString& c : preset->customCols)
        if (!cols.contains(c))
            cols.append(c);
    if (cols != m_customCols)
        setCustomCols(cols);
    m_colcust = preset->customization;
    ++m_tableID;
    emit columnsChanged();
    setStatus(L("Loaded bin preset: ", "已载入表格预设:") + name);
}

void BinController::deleteBinPreset(const QString& name)
{
    QFile::remove(QDir(presetFolder()).filePath(name + kExtension));
    refreshBinPresetNames();
}

void BinController::refreshBinPresetNames()
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
