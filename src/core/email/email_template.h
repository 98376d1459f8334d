#pragma once
// E-mail template records, their stored JSON form and their rendering. Rendering is pure text
// work: it reads no files and cannot fail.
#include "email/email_file_context.h"

#include "platform/lang.h"

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QLocale>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

// Today (or the given day) in the medium date style of the locale, e.g. "Dec 10, 2026"; the
// locale by default is the one of the language shown.
QString emailDate(const QDate& day = QDate::currentDate(), const QLocale& locale = Lang::locale());

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

    // One e-mail about all the files: each file's line from lineTemplate (its seven tokens
    // only), joined as %filelist; the body also knows %count, %date and the custom values.
    // "[s]" and "[es]" always take the plural here.
    QString renderBatch(const QList<EmailFileContext>& contexts, const QMap<QString, QString>& customValues,
                        const QString& date = emailDate()) const;
    // One file's e-mail: the custom values, the file's tokens over them and %date; "[s]" and
    // "[es]" always take the singular.
    QString renderPerFile(const EmailFileContext& context, const QMap<QString, QString>& customValues,
                          const QString& date = emailDate()) const;
};

// A custom field name as the editor keeps it: blanks and tabs trimmed at the ends, lower case,
// each inner blank as "_". Only such names can be filled, since template tokens are matched in
// lower case.
QString normalizeCustomFieldName(const QString& name);

// The whole list: compact JSON array; any fault makes the list unreadable.
QByteArray encodeEmailTemplates(const QList<EmailTemplate>& list);
std::optional<QList<EmailTemplate>> decodeEmailTemplates(const QByteArray& data);
