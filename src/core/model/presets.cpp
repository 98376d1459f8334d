#include "model/presets.h"

#include "model/file_item.h"
#include "model/preset_bundle.h"
#include "model/store.h"
#include "platform/atomic_write.h"
#include "platform/json_util.h"
#include "platform/lang.h"
#include "platform/natural_sort.h"

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

QByteArray compactJson(const GUIPreset& p)
{
    return QJsonDocument(p.toJson()).toJson(QJsonDocument::Compact);
}

// The name without the preset suffix, else without its last extension:
// "Night.gui.json" is the preset Night, "Grade v1.2.json" the preset Grade v1.2.
QString presetNameOfFile(const QString& fileName)
{
    if (fileName.endsWith(kPresetExt, Qt::CaseInsensitive))
        return fileName.chopped(kPresetExt.size());
    return PathText::withoutExtension(fileName);
}

// Why a preset file is not written while another process keeps the support folder.
QString presetsKeptElsewhere()
{
    return L("another Brindlecove window keeps the presets", "预设由另一个 Brindlecove 窗口保存");
}

bool codePointLess(const QString& a, const QString& b)
{
    const QList<uint> ua = a.toUcs4(), ub = b.toUcs4();
    return std::lexicographical_compare(ua.begin(), ua.end(), ub.begin(), ub.end());
}

}  // namespace

GUIPreset Presets::current() const
{
    return GUIPreset::fromRules(m_store.rules(), m_store.sections());
}

void Presets::apply(const GUIPreset& p)
{
    m_store.editRules([&](RuleSettings& r) { p.applyTo(r); });
    m_store.editSections([&](NameSections& s) { p.applyTo(s); });
}

QString Presets::folder() const
{
    return QDir(m_store.supportFolder()).filePath(QStringLiteral("presets"));
}

void Presets::refreshNames()
{
    const QStringList entries =
        QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    QStringList names;
    for (const QString& entry : entries)
        if (entry.endsWith(kPresetExt, Qt::CaseSensitive))
            names << entry.chopped(kPresetExt.size());
    const QCollator collator = naturalCollator();
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : codePointLess(a, b);  // names equal but for case keep one order
    });
    m_store.setPresetNames(names);
}

bool Presets::save(const QString& name)
{
    const QString safe = safePresetName(name);
    if (safe.isEmpty())
        return false;
    if (!m_store.writesSupportFiles()) {
        m_store.setStatus(L("Couldn't save preset: ", "无法保存预设:") + safe + L(" (", "(") + presetsKeptElsewhere()
                          + L(").", ")。"));
        return false;
    }
    QDir().mkpath(folder());
    const QString error = writeAtomically(QDir(folder()).filePath(safe + kPresetExt), compactJson(current()));
    if (error.isEmpty())
        m_store.setStatus(L("Preset saved: ", "已保存预设:") + safe);
    else
        m_store.setStatus(L("Couldn't save preset: ", "无法保存预设:") + safe);
    refreshNames();
    return error.isEmpty();
}

std::optional<GUIPreset> Presets::read(const QString& name) const
{
    QFile file(QDir(folder()).filePath(name + kPresetExt));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return GUIPreset::fromJsonData(file.readAll());
}

void Presets::load(const QString& name)
{
    const QString path = QDir(folder()).filePath(name + kPresetExt);
    const auto preset = read(name);
    if (!preset) {
        if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
            m_store.setStatus(L("Couldn't load preset: ", "无法载入预设:") + name
                              + L(" (its file could not be read).", "(无法读取其文件)。"));
        return;
    }
    apply(*preset);
    m_store.setStatus(L("Loaded preset: ", "已载入预设:") + name);
}

bool Presets::remove(const QString& name)
{
    const QString path = QDir(folder()).filePath(name + kPresetExt);
    if (!m_store.writesSupportFiles()) {
        m_store.setStatus(L("Couldn't delete preset: ", "无法删除预设:") + name + L(" (", "(") + presetsKeptElsewhere()
                          + L(").", ")。"));
        return false;
    }
    QFile::remove(path);
    // A file that was already missing counts as deleted; one that is still there does not.
    const bool gone = !QFileInfo(path).exists() && !QFileInfo(path).isSymLink();
    if (gone)
        m_store.setStatus(L("Deleted preset: ", "已删除预设:") + name);
    else
        m_store.setStatus(L("Couldn't delete preset: ", "无法删除预设:") + name);
    refreshNames();
    return gone;
}

QString Presets::exportAll(const QString& destination) const
{
    PresetBundle bundle;
    for (const QString& name : m_store.presetNames())
        if (auto preset = read(name))
            bundle.presets.insert(name, *preset);
    return writeAtomically(destination, bundle.encode());
}

PresetImport Presets::importFrom(const QString& source)
{
    PresetImport result;
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        result.failure = PresetImport::Failure::unreadable;
        result.error = file.errorString();
        return result;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.failure = PresetImport::Failure::unreadable;
        result.error = file.errorString();
        return result;
    }

    QList<QPair<QString, GUIPreset>> incoming;
    const auto bundle = PresetBundle::decode(data);
    if (bundle && bundle->format == QLatin1String(PresetBundle::formatName)) {
        for (auto it = bundle->presets.begin(); it != bundle->presets.end(); ++it)
            incoming.append({it.key(), it.value()});
    } else {
        const auto single = GUIPreset::fromJsonData(data);
        if (!single) {
            result.failure = PresetImport::Failure::notPresets;
            return result;
        }
        const QString fileName = QFileInfo(source).fileName();
        incoming.append({presetNameOfFile(fileName), *single});
    }
    std::sort(incoming.begin(), incoming.end(),
              [](const auto& a, const auto& b) { return codePointLess(a.first, b.first); });
    result.total = int(incoming.size());

    auto notSaved = [&](const QString& why) {
        result.failure = PresetImport::Failure::notSaved;
        result.error = why;
        return result;
    };
    if (!m_store.writesSupportFiles())
        return notSaved(presetsKeptElsewhere());
    if (!QDir().mkpath(folder()))
        return notSaved(L("the folder %1 could not be created", "无法创建文件夹 %1").arg(folder()));
    // The list on screen may be older than the folder; an import must never replace a file.
    refreshNames();
    QSet<QString> used(m_store.presetNames().begin(), m_store.presetNames().end());
    const QDir dir(folder());
    for (const auto& [original, preset] : incoming) {
        QString name = safePresetName(original);
        if (name.isEmpty())
            name = L("Imported", "导入");
        while (used.contains(name) || QFileInfo::exists(dir.filePath(name + kPresetExt)))
            name += L(" (imported)", "(导入)");
        const QString error = writeAtomically(dir.filePath(name + kPresetExt), compactJson(preset));
        if (!error.isEmpty()) {
            refreshNames();  // the presets already written are listed
            return notSaved(error);
        }
        used.insert(name);
        ++result.imported;
    }
    refreshNames();
    return result;
}
