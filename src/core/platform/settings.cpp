#include "settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QStandardPaths>

std::optional<bool> Settings::boolValue(const QString& key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::Bool)
        return std::nullopt;
    return v.toBool();
}

std::optional<QString> Settings::stringValue(const QString& key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

std::optional<QStringList> Settings::stringListValue(const QString& key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QStringList)
        return std::nullopt;
    return v.toStringList();
}

std::optional<QByteArray> Settings::dataValue(const QString& key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return v.toByteArray();
}

namespace {

// Typed JSON: {"key": {"bool": true}} / {"string": "..."} / {"strings": [...]} / {"data": "<base64>"}
QJsonValue encodeValue(const QVariant& v)
{
    QJsonObject o;
    switch (v.typeId()) {
    case QMetaType::Bool: o["bool"] = v.toBool(); break;
    case QMetaType::QString: o["string"] = v.toString(); break;
    case QMetaType::QStringList: o["strings"] = QJsonArray::fromStringList(v.toStringList()); break;
    case QMetaType::QByteArray: o["data"] = QString::fromLatin1(v.toByteArray().toBase64()); break;
    case QMetaType::Int:
    case QMetaType::LongLong: o["int"] = v.toLongLong(); break;
    case QMetaType::Double: o["double"] = v.toDouble(); break;
    default: o["string"] = v.toString(); break;
    }
    return o;
}

QVariant decodeValue(const QJsonValue& j)
{
    const QJsonObject o = j.toObject();
    if (o.contains("bool"))
        return QVariant(o["bool"].toBool());
    if (o.contains("string"))
        return QVariant(o["string"].toString());
    if (o.contains("strings")) {
        QStringList list;
        for (const QJsonValue& s : o["strings"].toArray())
            list << s.toString();
        return QVariant(list);
    }
    if (o.contains("data"))
        return QVariant(QByteArray::fromBase64(o["data"].toString().toLatin1()));
    if (o.contains("int"))
        return QVariant(o["int"].toInteger());
    if (o.contains("double"))
        return QVariant(o["double"].toDouble());
    return {};
}

bool readJson(QIODevice& device, QSettings::SettingsMap& map)
{
    const QJsonDocument doc = QJsonDocument::fromJson(device.readAll());
    const QJsonObject root = doc.object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QVariant v = decodeValue(it.value());
        if (v.isValid())
            map.insert(it.key(), v);
    }
    return true;
}

bool writeJson(QIODevice& device, const QSettings::SettingsMap& map)
{
    QJsonObject root;
    for (auto it = map.begin(); it != map.end(); ++it)
        root.insert(it.key(), encodeValue(it.value()));
    const QByteArray data = QJsonDocument(root).toJson(QJsonDocument::Indented);
    if (device.write(data) != data.size())
        return false;
    // The settings file is written through a buffered save file that would still be swapped in
    // after its last flush failed on a full disk; flushing here turns that into a failed save.
    auto* file = qobject_cast<QFileDevice*>(&device);
    return !file || file->flush();
}

QSettings::Format jsonFormat()
{
    static const QSettings::Format format = QSettings::registerFormat("json", readJson, writeJson);
    return format;
}

}  // namespace

namespace {
// A settings file that is not a JSON object would be overwritten by the next write; keep it
// aside so the user's settings can still be recovered by hand.
std::optional<SettingsDamage> setAsideIfDamaged(const QString& filePath)
{
    QFile file(filePath);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray data = file.readAll();
    file.close();
    if (data.trimmed().isEmpty() || QJsonDocument::fromJson(data).isObject())
        return std::nullopt;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString aside = filePath + QStringLiteral(".damaged-") + stamp;
    if (!QFile::exists(aside) && file.rename(aside))
        return SettingsDamage{QFileInfo(aside).fileName(), {}};
    SettingsDamage damage;
    damage.error = file.errorString().isEmpty() ? QStringLiteral("%1 exists").arg(aside) : file.errorString();
    return damage;
}

// The stored type is part of the value (see Settings), so a string "true" is not the bool true.
bool sameStored(const QVariant& stored, const QVariant& value)
{
    return stored.isValid() && stored.metaType() == value.metaType() && stored == value;
}
}  // namespace

FileSettings::FileSettings(const QString& filePath) : m_damage(setAsideIfDamaged(filePath))
{
    if (m_damage && !m_damage->error.isEmpty())
        return;
    m_settings = std::make_unique<QSettings>(filePath, jsonFormat());
    m_settings->setFallbacksEnabled(false);
}

FileSettings::~FileSettings()
{
    if (m_settings)
        m_settings->sync();
}

QVariant FileSettings::value(const QString& key) const
{
    return m_settings ? m_settings->value(key) : m_unsaved.value(key);
}
void FileSettings::setValue(const QString& key, const QVariant& value)
{
    // QSettings rewrites and syncs the whole file for any set, even of the value it holds; the
    // launch sets a few keys to what they were, and that write would sit before the first frame.
    if (m_settings && sameStored(m_settings->value(key), value))
        return;
    if (m_settings)
        m_settings->setValue(key, value);
    else
        m_unsaved.setValue(key, value);
}
void FileSettings::remove(const QString& key)
{
    if (m_settings && !m_settings->contains(key))
        return;
    if (m_settings)
        m_settings->remove(key);
    else
        m_unsaved.remove(key);
}
void FileSettings::sync()
{
    if (m_settings)
        m_settings->sync();
}

QString FileSettings::defaultPath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath("Wendlethorpe/settings.json");
}
