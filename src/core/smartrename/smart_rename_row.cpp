#include "smartrename/smart_rename_row.h"

namespace SmartRename {

QSet<QString> duplicateNames(const QList<SmartRenameRow>& rows)
{
    QSet<QString> seen;
    QSet<QString> duplicates;
    for (const SmartRenameRow& row : rows) {
        const QString key = row.corrected.toLower();
        if (seen.contains(key))
            duplicates.insert(key);
        else
            seen.insert(key);
    }
    return duplicates;
}

bool isDuplicate(const SmartRenameRow& row, const QSet<QString>& duplicates)
{
    return duplicates.contains(row.corrected.toLower());
}

QList<SmartRenameRow> resetToRecognized(QList<SmartRenameRow> rows, const std::optional<QUuid>& id)
{
    for (SmartRenameRow& row : rows) {
        if ((id && row.id != *id) || !row.preVariantName)
            continue;
        row.corrected = *row.preVariantName;
        row.preVariantName.reset();
        row.variantName.reset();
        row.variantExt.reset();
    }
    return rows;
}

QString joinedResults(const QList<SmartRenameRow>& rows)
{
    QStringList names;
    names.reserve(rows.size());
    for (const SmartRenameRow& row : rows)
        names << row.corrected;
    return names.join(u'\n');
}

}  // namespace SmartRename
