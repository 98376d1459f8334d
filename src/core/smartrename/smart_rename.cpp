// Placeholder recogniser: keeps the name as it is until the delivery-name engine lands.
#include "smart_rename_types.h"

namespace SmartRename {

QString cleanInput(const QString& name) { return name.trimmed(); }

Result correct(const QString& cleaned, SmartRenameStyle, const QList<CutType>&,
               const CustomNamingConfig&, const QMap<QString, QStringList>&, bool)
{
    Result r;
    r.corrected = cleaned;
    r.missingVersion = true;
    return r;
}

} // namespace SmartRename
