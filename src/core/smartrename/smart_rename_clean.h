#pragma once
// Normalising names before recognition, ignore tags and extensions. May run on any thread.
#include "smartrename/smart_rename_types.h"

#include <QString>
#include <QStringList>
#include <utility>

namespace SmartRename {

// Normalises a base name for recognition: quotes, zero-width characters and blanks unified,
// surrounding blanks trimmed.
QString cleanInput(const QString& name);

// (stem, extension); the extension is "" when the name has none.
std::pair<QString, QString> splitExtension(const QString& name);
// The comma-separated ignore text as a list of tags, blanks and tabs trimmed, empties dropped.
QStringList parseIgnoreTags(const QString& text);
// Every occurrence of each tag removed, literally and ignoring case, in list order.
QString removeIgnoredTags(QString name, const QStringList& tags);

}  // namespace SmartRename
