#include "email_template.h"

#include "platform/json_util.h"

#include <QJsonArray>
#include <QJsonDocument>

QString EmailTemplate::rawValue(Mode m)
{
    return m == Mode::batch ? QStringLiteral("Batch (one email, all files)")
                            : QStringLiteral("Per File (one email each)");
}

std::optional<EmailTemplate::Mode> EmailTemplate::modeFromRaw(const QString& raw)
{
    if (raw == rawValue(Mode::batch))
        return Mode::batch;
    if (raw == rawValue(Mode::perFile))
        return Mode::perFile;
    return std::nullopt;
}

QJsonObject EmailTemplate::toJson() const
{
    return {{"id", Json::uuidText(id)},     {"name", name}, {"mode", rawValue(mode)},
            {"lineTemplate", lineTemplate}, {"body", body}, {"customFields", QJsonArray::fromStringList(customFields)}};
}

std::optional<EmailTemplate> EmailTemplate::fromJson(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    if (!v.isObject())
        return std::nullopt;
    for (const char* key : {"id", "name", "mode", "lineTemplate", "body"})
        if (!o.value(QLatin1String(key)).isString())
            return std::nullopt;
    if (!o.value("customFields").isArray())
        return std::nullopt;
    EmailTemplate t;
    // Only the standard 36-character form is an id here; braces or other shapes are a fault.
    const QString idText = o["id"].toString();
    if (idText.size() == 36)
        t.id = QUuid::fromString(idText);
    const auto mode = modeFromRaw(o["mode"].toString());
    if (t.id.isNull() || !mode)
        return std::nullopt;
    t.mode = *mode;
    t.name = o["name"].toString();
    t.lineTemplate = o["lineTemplate"].toString();
    t.body = o["body"].toString();
    for (const QJsonValue& f : o["customFields"].toArray()) {
        if (!f.isString())
            return std::nullopt;
        t.customFields << f.toString();
    }
    return t;
}

QByteArray encodeEmailTemplates(const QList<EmailTemplate>& list)
{
    QJsonArray a;
    for (const EmailTemplate& t : list)
        a.append(t.toJson());
    return QJsonDocument(a).toJson(QJsonDocument::Compact);
}

std::optional<QList<EmailTemplate>> decodeEmailTemplates(const QByteArray& data)
{
    const auto a = Json::parseArray(data);
    if (!a)
        return std::nullopt;
    QList<EmailTemplate> out;
    for (const QJsonValue& v : *a) {
        auto t = EmailTemplate::fromJson(v);
        if (!t)
            return std::nullopt;
        out << *t;
    }
    return out;
}

QMap<QString, QString> EmailFileContext::tokens() const
{
    return {{"original_name", originalName},
            {"corrected_name", correctedName},
            {"code", code},
            {"spotname", spotName},
            {"cuttype", cutType},
            {"timing", timing},
            {"version", version}};
}
