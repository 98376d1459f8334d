#pragma once
// The named parts of one file for e-mail texts, and how a listed file yields them.
#include "model/enums.h"
#include "smartrename/smart_rename_types.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

struct FileItem;

// A part not found is empty, never absent. originalName is the file's full name; correctedName
// is the recognised delivery name with the file's extension.
struct EmailFileContext {
    QString originalName, correctedName, code, spotName, cutType, timing, version;
    bool operator==(const EmailFileContext&) const = default;

    // The seven tokens a template can name for one file.
    QMap<QString, QString> tokens() const;

    // The parts of a recognised name; the extension (without dot) is appended when not empty.
    static EmailFileContext fromResult(const QString& originalName, const QString& ext,
                                       const SmartRename::Result& result);
    // Recognises a listed file's name with the given Smart Rename settings. Names the first
    // reading finds no version in are read again: with the naming layout's separator as "_",
    // then, when they look like an e-mail style name, in a file-safe form without a code.
    static EmailFileContext fromFile(const FileItem& item, SmartRenameStyle style,
                                     const QList<SmartRename::CutType>& cutTypes,
                                     const SmartRename::CustomNamingConfig& config,
                                     const QMap<QString, QStringList>& learnedSplits);
};
