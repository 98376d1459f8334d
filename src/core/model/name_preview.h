#pragma once
// The new names the rules give the listed items, and why some of them can't be renamed. Owned
// by the Store and reached through Store::preview(); reads the Store's state and keeps only its
// own unpublished caches (Smart Rename results, folder listings).
#include "bin/bin_row.h"
#include "metadata/meta_fields.h"
#include "model/enums.h"
#include "model/file_dates.h"
#include "model/file_item.h"
#include "model/rule_settings.h"
#include "model/token_template.h"
#include "smartrename/smart_rename_types.h"

#include <QDateTime>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QUuid>
#include <atomic>
#include <memory>
#include <optional>

class FolderListings;
class Store;

// Everything the new names depend on, copied at one moment, so that another thread can work on
// it while the Store moves on. The copies share their data with the Store's until either side
// changes them.
struct NameSnapshot {
    QList<FileItem> items;
    QSet<QUuid> selection;
    RuleSettings rules;
    NameSections sections;
    QHash<QUuid, MetaFields> drafts;
    QList<SmartRename::CutType> cutTypes;
    SmartRename::CustomNamingConfig namingConfig;
    QMap<QString, QStringList> wordSplits;
    // Copies of the caches the names are read through. snapshotNames() adds the Smart Rename
    // results it finds to smartFixCache, and the dates it works out to foundDates.
    QHash<QString, QString> smartFixCache;
    quint64 smartFixGeneration = 0;  // NamePreview's when `smartFixCache` was copied
    DateCaches dates;
    quint64 datesGeneration = 0;  // FileDates::generation() when `dates` was copied
    DateCaches foundDates;
};

class NamePreview {
public:
    explicit NamePreview(const Store& store);
    ~NamePreview();

    // The new full name of one listed item (index: its 0-based place in items()).
    QString newName(const FileItem& item, int index, const QSet<QUuid>& selection) const;
    // The Smart Rename form of a stem, memoised in smartFixCache().
    QString smartFixed(const QString& stem) const;
    struct ConflictResult {
        QHash<QUuid, QString> reasons;  // why an item can't be renamed
        int willRename = 0;
        // The Smart Rename results the check's names were read through, grown by it.
        QHash<QString, QString> smartFixCache;
        quint64 smartFixGeneration = 0;
        // The dates it worked out beyond the snapshot's, and the snapshot's date generation.
        DateCaches dates;
        quint64 datesGeneration = 0;
    };
    ConflictResult conflictReasons(const QSet<QUuid>& selection) const;
    // The rules of the current settings on one stem (index: place in items(); date text from
    // FileDates::dateText(), empty while the date rule is off).
    QString applyBatchRules(const QString& stem, int index, const QString& dateText) const;
    // The bin row a name template reads for a listed file: its draft metadata, or the empty record.
    BinRow templateRow(const FileItem& item) const;

    // What the names of the listed items depend on now, for checkConflicts().
    NameSnapshot snapshot(const QSet<QUuid>& selection) const;
    // Takes over the Smart Rename results and dates a check found, when nothing changed since its
    // snapshot.
    void keepResults(ConflictResult& checked) const;
    // The folder listings the preview's checks keep between keystrokes.
    const std::shared_ptr<FolderListings>& listings() const { return m_listings; }

    // Smart Rename results are cached by stem only: whatever changes how a stem is recognised
    // (the style, cut types, naming options, learned splits) drops them.
    QHash<QString, QString>& smartFixCache() const { return m_smartFixCache; }
    // Drops them for changed settings; a check that began before does not bring them back.
    void dropSmartFixes() const;
    void sectionsPublished();

private:
    const Store& m_store;
    mutable QHash<QString, QString> m_smartFixCache;
    mutable quint64 m_smartFixGeneration = 0;
    SmartRenameStyle m_cachedStyle;
    std::shared_ptr<FolderListings> m_listings;
};

// The new full name of every item of the snapshot, in the items' order, exactly as
// NamePreview::newName gives them. A long list is shared out among threads in parts; each name
// depends on its item and the snapshot alone, so the names are the same however it is shared.
// Nothing once `cancel` is set (checked between names, so a slow pattern gives way to a newer
// check).
std::optional<QList<QString>> snapshotNames(NameSnapshot& snapshot, const std::atomic<bool>* cancel = nullptr);

// The conflict check on a snapshot: the names, then decideRenames() with folder listings kept
// in `listings`. Touches no shared state but the disk and `listings`, so it may run on any
// thread. Nothing when cancelled.
std::optional<NamePreview::ConflictResult> checkConflicts(NameSnapshot snapshot,
                                                          const std::shared_ptr<FolderListings>& listings,
                                                          const std::atomic<bool>* cancel = nullptr);
