#include "email_template.h"

#include "model/token_template.h"
#include "platform/json_util.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <memory>
#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace {

TemplateTokens toTokens(const QMap<QString, QString>& values)
{
    TemplateTokens out;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        out.insert(it.key(), it.value());
    return out;
}

QString expanded(const QString& text, const TemplateTokens& tokens)
{
    return expandTemplate(text, tokens).text;
}

QString plural(QString s)
{
    return s.replace(QLatin1String("[es]"), QLatin1String("es")).replace(QLatin1String("[s]"), QLatin1String("s"));
}

QString singular(QString s)
{
    return s.remove(QLatin1String("[es]")).remove(QLatin1String("[s]"));
}

}  // namespace

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

QString EmailTemplate::renderBatch(const QList<EmailFileContext>& contexts, const QMap<QString, QString>& customValues,
                                   const QString& date) const
{
    const QString line = plural(lineTemplate);
    QStringList lines;
    for (const EmailFileContext& c : contexts)
        lines << expanded(line, toTokens(c.tokens()));
    TemplateTokens tokens = toTokens(customValues);
    tokens.insert(QStringLiteral("filelist"), lines.join(QLatin1Char('\n')));
    tokens.insert(QStringLiteral("count"), QString::number(contexts.size()));
    tokens.insert(QStringLiteral("date"), date);
    return expanded(plural(body), tokens);
}

QString EmailTemplate::renderPerFile(const EmailFileContext& context, const QMap<QString, QString>& customValues,
                                     const QString& date) const
{
    TemplateTokens tokens = toTokens(customValues);
    const QMap<QString, QString> own = context.tokens();
    for (auto it = own.cbegin(); it != own.cend(); ++it)
        tokens.insert(it.key(), it.value());
    tokens.insert(QStringLiteral("date"), date);
    return expanded(singular(body), tokens);
}

QString emailDate(const QDate& day, const QLocale& locale)
{
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createDateInstance(icu::DateFormat::kMedium, icu::Locale(locale.name().toUtf8().constData())));
    if (!format)
        return locale.toString(day, QLocale::ShortFormat);
    // Noon keeps the day the same in every time zone the formatter might apply.
    const QDateTime noon(day, QTime(12, 0));
    icu::UnicodeString out;
    format->format(UDate(noon.toMSecsSinceEpoch()), out);
    return QString(reinterpret_cast<const QChar*>(out.getBuffer()), out.length());
}

QString normalizeCustomFieldName(const QString& name)
{
    qsizetype from = 0, to = name.size();
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (from < to && blank(name[from]))
        ++from;
    while (to > from && blank(name[to - 1]))
        --to;
    return name.mid(from, to - from).toLower().replace(QLatin1Char(' '), QLatin1Char('_'));
}
