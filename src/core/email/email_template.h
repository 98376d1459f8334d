#pragma once
// E-mail template records and their stored JSON form. Rendering lives beside them.
#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

struct EmailTemplate {
    enum class Mode { batch, perFile };

    QUuid id;
    QString name;
    Mode mode = Mode::batch;
    QString lineTemplate;
    QString body;
    QStringList customFields;

    bool operator==(const EmailTemplate&) const = default;

    static QString rawValue(Mode m);
    static std::optional<Mode> modeFromRaw(const QString& raw);

    QJsonObject toJson() const;
    static std::optional<EmailTemplate> fromJson(const QJsonValue& v);
};

// The whole list: compact JSON array; any fault makes the list unreadable.
QByteArray encodeEmailTemplates(const QList<EmailTemplate>& list);
std::optional<QList<EmailTemplate>> decodeEmailTemplates(const QByteArray& data);

// The named parts of one file for e-mail texts; a part not found is empty, never absent.
struct EmailFileContext {
    QString originalName, correctedName, code, spotName, cutType, timing, version;
    bool operator==(const EmailFileContext&) const = default;

    // The seven tokens a template can name for one file.
    QMap<QString, QString> tokens() const;
};
