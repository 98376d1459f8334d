#pragma once
// Recognition of one stem with the fall-backs the rename screens share: when no version is
// found, the naming options' separator read as "_", then the name with quotes, colons and "V."
// tidied and the production code left out.
#include "model/enums.h"
#include "smartrename/smart_rename_types.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace SmartRename {

Result smartFix(const QString& stem, SmartRenameStyle style, const QList<CutType>& cutTypes,
                const CustomNamingConfig& config, const QMap<QString, QStringList>& learnedSplits);

}  // namespace SmartRename
