#include "smartrename/smart_fix.h"

#include "smartrename/smart_rename_clean.h"
#include "smartrename/smart_rename_recognize.h"

namespace SmartRename {

namespace {

QString replacedUntilStable(QString s, const QString& from, const QString& to)
{
    while (s.contains(from))
        s.replace(from, to);
    return s;
}

QString trimmedOf(QString s, QChar c)
{
    while (s.startsWith(c))
        s.remove(0, 1);
    while (s.endsWith(c))
        s.chop(1);
    return s;
}

}  // namespace

Result smartFix(const QString& stem, SmartRenameStyle style, const QList<CutType>& cutTypes,
                const CustomNamingConfig& config, const QMap<QString, QStringList>& splits)
{
    const QString cleaned = cleanInput(stem);
    Result r = correct(cleaned, style, cutTypes, config, splits, false);
    if (r.missingVersion) {
        const QString sep = config.separator.trimmed();
        if (!sep.isEmpty() && sep != QLatin1String("_") && cleaned.contains(sep)) {
            const QString c1 = QString(cleaned).replace(sep, QStringLiteral("_"));
            if (c1 != cleaned) {
                Result retry = correct(c1, style, cutTypes, config, splits, false);
                if (!retry.missingVersion)
                    r = retry;
            }
        }
    }
    if (r.missingVersion
        && (cleaned.contains(u'"') || cleaned.contains(u':') || cleaned.contains(QLatin1String("V.")))) {
        QString c2 = QString(cleaned).remove(u'"').replace(u':', u'_').replace(QLatin1String("V."), QLatin1String("V"));
        c2 = c2.trimmed().replace(u' ', u'_');
        c2 = trimmedOf(replacedUntilStable(c2, QStringLiteral("__"), QStringLiteral("_")), u'_');
        if (c2 != cleaned) {
            Result retry = correct(c2, style, cutTypes, config, splits, true);
            if (!retry.missingVersion)
                r = retry;
        }
    }
    return r;
}

}  // namespace SmartRename
