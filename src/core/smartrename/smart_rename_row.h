#pragma once
// One result of the Smart Rename tab and the list-wide operations on the results. Pure values:
// no Store, any thread.
#include "model/file_item.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>
#include <optional>

struct SmartRenameRow {
    QUuid id;
    QString original;
    QString corrected;
    bool missingVersion = false;
    QString code;
    QString spotName;
    QString cutType;
    QString timing;
    QString version;
    std::optional<FileItem> sourceItem;  // only rows from loaded files are renamed on disk
    std::optional<QString> variantName;
    std::optional<QString> preVariantName;  // the name before variants; what a reset restores
    std::optional<QString> variantExt;      // "" means no extension

    bool operator==(const SmartRenameRow&) const = default;
};

namespace SmartRename {

// Lower-cased corrected names that occur in more than one row.
QSet<QString> duplicateNames(const QList<SmartRenameRow>& rows);
bool isDuplicate(const SmartRenameRow& row, const QSet<QString>& duplicates);
// Rows with a variant get their pre-variant name back; with an id, only that row.
QList<SmartRenameRow> resetToRecognized(QList<SmartRenameRow> rows, const std::optional<QUuid>& id = {});
// The corrected names, one per line, no line feed after the last.
QString joinedResults(const QList<SmartRenameRow>& rows);

}  // namespace SmartRename
