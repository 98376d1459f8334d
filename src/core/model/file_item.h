#pragma once
// One listed file or folder.
#include <QDateTime>
#include <QString>
#include <QUuid>
#include <optional>

struct FileItem {
    // The two flags sit together at the end: a hundred thousand items, eight bytes each less.
    QUuid id;
    QString url;  // absolute, clean path (Linux names are bytes; only valid UTF-8 paths are listed)
    std::optional<QString> fromFolder;  // the dropped folder this file was found in
    std::optional<QString> aiName;
    std::optional<QDateTime> captureDate;
    QString stem;
    QString ext;
    QString name;
    bool isDir = false;
    bool useAI = true;

    // Items are equal when id, url and aiName are equal; the other fields are not compared.
    bool operator==(const FileItem& o) const { return id == o.id && url == o.url && aiName == o.aiName; }

    static FileItem file(const QString& path, const std::optional<QString>& fromFolder = std::nullopt);
    static FileItem folder(const QString& path);
};
// No member points into the item itself: lists move items by moving their bytes.
Q_DECLARE_TYPEINFO(FileItem, Q_RELOCATABLE_TYPE);

// Path helpers on clean absolute paths.
namespace PathText {
QString lastComponent(const QString& path);
QString parent(const QString& path);
QString extension(const QString& name);         // text after the last ".", "" when none
QString withoutExtension(const QString& name);  // name less ".ext"
QString standardized(const QString& path);      // absolute and clean
}  // namespace PathText
