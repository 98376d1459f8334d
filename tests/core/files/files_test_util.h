#pragma once
// Small helpers for the intake, list and watch tests.
#include "model/store.h"

#include <QSet>
#include <QStringList>

inline QStringList itemNames(const Store& s)
{
    QStringList out;
    for (const FileItem& i : s.items())
        out << i.name;
    return out;
}

inline QSet<QString> itemNameSet(const Store& s)
{
    const QStringList names = itemNames(s);
    return QSet<QString>(names.begin(), names.end());
}

// A file whose name holds bytes that are not UTF-8; removed again on destruction, since Qt
// cannot name it when the test folder is deleted.
struct NonUtf8File {
    explicit NonUtf8File(const QString& folder);
    ~NonUtf8File();
    bool made = false;  // false when the file system refuses such names
    QByteArray path;
};
