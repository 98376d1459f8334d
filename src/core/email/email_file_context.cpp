#include "email/email_file_context.h"

#include "model/file_item.h"
#include "smartrename/smart_rename_clean.h"
#include "smartrename/smart_rename_recognize.h"

namespace {

bool isBlankOrTab(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString trimmed(QString s, bool (*strip)(QChar))
{
    qsizetype from = 0, to = s.size();
    while (from < to && strip(s[from]))
        ++from;
    while (to > from && strip(s[to - 1]))
        --to;
    return s.mid(from, to - from);
}

// An e-mail style name (quoted spot name, "0:30" timing, "V.2" version) written the way a file
// name would be.
QString fileSafeForm(QString s)
{
    s.remove(QLatin1Char('"'));
    s.replace(QLatin1Char(':'), QLatin1Char('_'));
    s.replace(QLatin1String("V."), QLatin1String("V"));
    s = trimmed(s, isBlankOrTab);
    s.replace(QLatin1Char(' '), QLatin1Char('_'));
    while (s.contains(QLatin1String("__")))
        s.replace(QLatin1String("__"), QLatin1String("_"));
    return trimmed(s, [](QChar c) { return c == QLatin1Char('_'); });
}

}  // namespace

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

EmailFileContext EmailFileContext::fromResult(const QString& originalName, const QString& ext,
                                              const SmartRename::Result& r)
{
    EmailFileContext c;
    c.originalName = originalName;
    c.correctedName = ext.isEmpty() ? r.corrected : r.corrected + QLatin1Char('.') + ext;
    c.code = r.productionCode.value_or(QString());
    c.spotName = r.spotName.value_or(QString());
    c.cutType = r.cutType.value_or(QString());
    c.timing = r.timing.value_or(QString());
    c.version = r.version.value_or(QString());
    return c;
}

EmailFileContext EmailFileContext::fromFile(const FileItem& item, SmartRenameStyle style,
                                            const QList<SmartRename::CutType>& cutTypes,
                                            const SmartRename::CustomNamingConfig& config,
                                            const QMap<QString, QStringList>& learnedSplits)
{
    const QString cleaned = SmartRename::cleanInput(item.stem);
    auto parse = [&](const QString& name, bool noProductionCode) {
        return SmartRename::correct(name, style, cutTypes, config, learnedSplits, noProductionCode);
    };
    SmartRename::Result result = parse(cleaned, false);
    if (result.missingVersion) {
        bool found = false;
        const QString sep = trimmed(config.separator, isBlankOrTab);
        if (!sep.isEmpty() && sep != QLatin1String("_") && cleaned.contains(sep)) {
            const QString changed = QString(cleaned).replace(sep, QLatin1String("_"));
            if (changed != cleaned) {
                SmartRename::Result retry = parse(changed, false);
                if (!retry.missingVersion) {
                    result = retry;
                    found = true;
                }
            }
        }
        const bool emailShaped = cleaned.contains(QLatin1Char('"')) || cleaned.contains(QLatin1Char(':'))
                              || cleaned.contains(QLatin1String("V."));
        if (!found && emailShaped) {
            const QString safe = fileSafeForm(cleaned);
            if (safe != cleaned) {
                SmartRename::Result retry = parse(safe, true);
                if (!retry.missingVersion)
                    result = retry;
            }
        }
    }
    return fromResult(item.name, item.ext, result);
}
