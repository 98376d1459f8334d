#pragma once
// Writing what recognition found in one of the output styles.
#include "smartrename/smart_rename_recognize.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace SmartRename {

// What recognition found, handed to the formatter.
struct Parts {
    QString code;
    bool codeHidden = false;
    QStringList spotWords;
    std::optional<QString> cutType;  // canonical name or a "Digital" size
    std::optional<QString> timing;
    std::optional<QString> versionNumber;
    QList<Marker> markers;
};

QString titleCaseWord(const QString& word);
QString titleCase(const QString& text);
Result format(const Parts& parts, SmartRenameStyle style, const CustomNamingConfig& config);

}  // namespace SmartRename
