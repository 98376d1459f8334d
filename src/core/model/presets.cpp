// Rule presets: one JSON file per preset in the support folder, and the bundle that carries them
// all. Preset names exist only as file names.
#include "model/preset_bundle.h"
#include "model/store.h"
#include "platform/natural_sort.h"
#include "platform/atomic_write.h"
#include "platform/json_util.h"
#include "platform/lang.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocale>
#include <QSaveFile>
#include <algorithm>

namespace {

const QString kPresetExt = QStringLiteral(".gui.json");

// "/" would leave the presets folder and control characters (NUL above all) make names that
// cannot be written or shown; both become "_".
QString safePresetName(const QString& name)
{
    QString out = name;
    for (QChar& c : out)
        if (c == u'/' || c.category() == QChar::Other_Control)
            c = u'_';
    return out;
}

QByteArray compactJson(const GUIPreset& p) { return QJsonDocument(p.toJson()).toJson(QJsonDocument::Compact); }

// Name without the last path extension, the way a file browser splits it (".x" has none).
QString withoutExtension(const QString& name);

// "Night.gui.json" is the preset Night, "Grade v1.2.json" the preset Grade v1.2.
QString presetNameOfFile(const QString& fileName)
{
    if (fileName.endsWith(kPresetExt, Qt::CaseInsensitive))
        return fileName.chopped(kPresetExt.size());
    return withoutExtension(fileName);
}

QString withoutExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : name;
}

bool codePointLess(const QString& a, const QString& b)
{
    const QList<uint> ua = a.toUcs4(), ub = b.toUcs4();
    return std::lexicographical_compare(ua.begin(), ua.end(), ub.begin(), ub.end());
}

} // namespace

QByteArray PresetBundle::encode() const
{
    QJsonObject map;
    for (auto it = presets.begin(); it != presets.end(); ++it)
        map.insert(it.key(), it.value().toJson());
    const QJsonObject root{{"format", format}, {"version", version}, {"presets", map}};
    return Json::sortedPretty(root);
}

std::optional<PresetBundle> PresetBundle::decode(const QByteArray& data)
{
    const auto root = Json::parseObject(data);
    if (!root)
        return std::nullopt;
    const QJsonValue format = root->value("format");
    const QJsonValue version = root->value("version");
    const QJsonValue presets = root->value("presets");
    const auto v = Json::wholeInt(version);
    if (!format.isString() || !v || !presets.isObject())
        return std::nullopt;
    PresetBundle bundle;
    bundle.format = format.toString();
    bundle.version = *v;
    const QJsonObject map = presets.toObject();
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (!it.value().isObject())
            return std::nullopt;
        auto preset = GUIPreset::fromJson(it.value().toObject());
        if (!preset)
            return std::nullopt;
        bundle.presets.insert(it.key(), *preset);
    }
    return bundle;
}

QString Store::presetsFolder() const { return QDir(supportFolder()).filePath(QStringLiteral("presets")); }

void Store::refreshPresetNames()
{
    const QStringList entries = QDir(presetsFolder())
                                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                               QDir::NoSort);
    QStringList names;
    for (const QString& entry : entries)
        if (entry.endsWith(kPresetExt, Qt::CaseSensitive))
            names << entry.chopped(kPresetExt.size());
    const QCollator collator = naturalCollator();
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : codePointLess(a, b);  // names equal but for case keep one order
    });
    m_presetNames = names;
    publish(Group::Presets);
}

bool Store::savePreset(const QString& name)
{
    const QString safe = safePresetName(name);
    if (safe.isEmpty())
        return false;
    QDir().mkpath(presetsFolder());
    const QString error = writeAtomically(QDir(presetsFolder()).filePath(safe + kPresetExt),
                                          compactJson(currentPreset()));
    if (error.isEmpty())
        setStatus(L("Preset saved: ", "已保存预设:") + safe);
    else
        setStatus(L("Couldn't save preset: ", "无法保存预设:") + safe);
    refreshPresetNames();
    return error.isEmpty();
}

std::optional<GUIPreset> Store::readPreset(const QString& name) const
{
    QFile file(QDir(presetsFolder()).filePath(name + kPresetExt));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return GUIPreset::fromJsonData(file.readAll());
}

void Store::loadPreset(const QString& name)
{
    const auto preset = readPreset(name);
    if (!preset)
        return;
    applyPreset(*preset);
    setStatus(L("Loaded preset: ", "已载入预设:") + name);
}

bool Store::deletePreset(const QString& name)
{
    const QString path = QDir(presetsFolder()).filePath(name + kPresetExt);
    QFile::remove(path);
    // A file that was already missing counts as deleted; one that is still there does not.
    const bool gone = !QFileInfo(path).exists() && !QFileInfo(path).isSymLink();
    if (gone)
        setStatus(L("Deleted preset: ", "已删除预设:") + name);
    else
        setStatus(L("Couldn't delete preset: ", "无法删除预设:") + name);
    refreshPresetNames();
    return gone;
}

QString Store::exportPresets(const QString& destination) const
{
    PresetBundle bundle;
    for (const QString& name : m_presetNames)
        if (auto preset = readPreset(name))
            bundle.presets.insert(name, *preset);
    return writeAtomically(destination, bundle.encode());
}

QString Store::importPresets(const QString& source, int* count)
{
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();

    QList<QPair<QString, GUIPreset>> incoming;
    const auto bundle = PresetBundle::decode(data);
    if (bundle && bundle->format == QLatin1String(PresetBundle::formatName)) {
        for (auto it = bundle->presets.begin(); it != bundle->presets.end(); ++it)
            incoming.append({it.key(), it.value()});
    } else {
        QString error;
        const auto single = GUIPreset::fromJsonData(data, &error);
        if (!single)
            return error;
        const QString fileName = QFileInfo(source).fileName();
        incoming.append({presetNameOfFile(fileName), *single});
    }
    std::sort(incoming.begin(), incoming.end(),
              [](const auto& a, const auto& b) { return codePointLess(a.first, b.first); });

    if (!QDir().mkpath(presetsFolder()))
        return QStringLiteral("Could not create the folder %1").arg(presetsFolder());
    // The list on screen may be older than the folder; an import must never replace a file.
    refreshPresetNames();
    QSet<QString> used(m_presetNames.begin(), m_presetNames.end());
    const QDir folder(presetsFolder());
    int written = 0;
    for (const auto& [original, preset] : incoming) {
        QString name = safePresetName(original);
        if (name.isEmpty())
            name = L("Imported", "导入");
        while (used.contains(name) || QFileInfo::exists(folder.filePath(name + kPresetExt)))
            name += L(" (imported)", "(导入)");
        const QString error = writeAtomically(folder.filePath(name + kPresetExt), compactJson(preset));
        if (!error.isEmpty())
            return error;
        used.insert(name);
        ++written;
    }
    refreshPresetNames();
    if (count)
        *count = written;
    return {};
}
