#pragma once
// The new names the rules give the listed items, and why some of them can't be renamed. Owned
// by the Store and reached through Store::preview(); reads the Store's state and keeps only its
// own unpublished cache of Smart Rename results.
#include "bin/bin_row.h"
#include "model/enums.h"
#include "model/file_item.h"
#include "model/token_template.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QUuid>

class Store;

class NamePreview {
public:
    explicit NamePreview(const Store& store);

    // The new full name of one listed item (index: its 0-based place in items()).
    QString newName(const FileItem& item, int index, const QSet<QUuid>& selection) const;
    // The Smart Rename form of a stem, memoised in smartFixCache().
    QString smartFixed(const QString& stem) const;
    struct ConflictResult {
        QHash<QUuid, QString> reasons;  // why an item can't be renamed
        int willRename = 0;
    };
    ConflictResult conflictReasons(const QSet<QUuid>& selection) const;
    // The rules of the current settings on one stem (index: place in items(); date text from
    // FileDates::dateText(), empty while the date rule is off).
    QString applyBatchRules(const QString& stem, int index, const QString& dateText) const;
    // The bin row a name template reads for a listed file: its draft metadata, or the empty record.
    BinRow templateRow(const FileItem& item) const;

    // Smart Rename results are cached by stem only: whatever changes how a stem is recognised
    // (the style, cut types, naming options, learned splits) drops them.
    QHash<QString, QString>& smartFixCache() const { return m_smartFixCache; }
    void sectionsPublished();

private:
    const Store& m_store;
    mutable QHash<QString, QString> m_smartFixCache;
    SmartRenameStyle m_cachedStyle;
};
