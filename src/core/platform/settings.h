#pragma once
// The "user defaults" store: small typed values under plain keys. The stored type matters
// (a Bool key that holds a string reads as absent-of-type), so values keep their QVariant type.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

class QSettings;

// What happened to a settings file that could not be read at launch: kept aside under `keptAs`,
// or, when that failed, left in place (with `error`) and never written.
struct SettingsDamage {
    QString keptAs;
    QString error;
};

class Settings {
public:
    virtual ~Settings() = default;
    virtual std::optional<SettingsDamage> damage() const { return std::nullopt; }
    virtual QVariant value(const QString& key) const = 0;  // invalid QVariant when absent
    virtual void setValue(const QString& key, const QVariant& value) = 0;
    virtual void remove(const QString& key) = 0;
    virtual void sync() {}

    bool contains(const QString& key) const { return value(key).isValid(); }
    // Typed reads: nullopt-like behaviour through the `ok` flag; a value of another type is
    // treated as absent.
    std::optional<bool> boolValue(const QString& key) const;
    std::optional<QString> stringValue(const QString& key) const;
    std::optional<QStringList> stringListValue(const QString& key) const;
    std::optional<QByteArray> dataValue(const QString& key) const;

    void setBool(const QString& key, bool v) { setValue(key, QVariant(v)); }
    void setString(const QString& key, const QString& v) { setValue(key, QVariant(v)); }
    void setStringList(const QString& key, const QStringList& v) { setValue(key, QVariant(v)); }
    void setData(const QString& key, const QByteArray& v) { setValue(key, QVariant(v)); }
};

// In-memory settings for tests.
class MemorySettings : public Settings {
public:
    QVariant value(const QString& key) const override { return m_values.value(key); }
    void setValue(const QString& key, const QVariant& value) override { m_values.insert(key, value); }
    void remove(const QString& key) override { m_values.remove(key); }
    const QHash<QString, QVariant>& all() const { return m_values; }

private:
    QHash<QString, QVariant> m_values;
};

// Production settings: a JSON file "settings.json" in $XDG_CONFIG_HOME/Wendlethorpe/ that keeps
// each value's type (bool, string, string list, data).
class FileSettings : public Settings {
public:
    explicit FileSettings(const QString& filePath);
    ~FileSettings() override;
    QVariant value(const QString& key) const override;
    void setValue(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override;
    void sync() override;
    std::optional<SettingsDamage> damage() const override { return m_damage; }

    static QString defaultPath();

private:
    std::optional<SettingsDamage> m_damage;
    std::unique_ptr<QSettings> m_settings;  // null while a damaged file could not be set aside
    MemorySettings m_unsaved;               // stands in for it then, so nothing overwrites the file
};
