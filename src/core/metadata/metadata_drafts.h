#pragma once
// The Metadata editor's work on the Store's drafts: loading the shown file's record (a movie on a
// worker, finishing on the main thread), storing every edit, reverting, and writing a draft
// into files one after another off the main thread. The Store owns it, so a save that is running
// outlives the editor's screen. Drafts change only through the Store's edit path.
#include "metadata/meta_fields.h"
#include "model/file_item.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QThreadPool>
#include <QUuid>
#include <optional>

class Store;

// The first listed entry whose id is selected; list order decides, not the order of clicks.
std::optional<FileItem> primaryItem(const QList<FileItem>& items, const QSet<QUuid>& selection);
// The selected entries, in list order, of the primary item's media kind; empty without one.
QList<FileItem> targetItems(const QList<FileItem>& items, const QSet<QUuid>& selection);
// "Folder", "Image", "PDF", "Video" or "—" in the current language.
QString metaKindLabel(const FileItem& item);
// `own` (one file's record) taking the fields the editor edits from `edited`: the date, every
// text field of the form, the clip name and the logging and custom values. The file keeps its
// own kind, info line, numbers, album, genre and technical texts.
MetaFields withEditedFields(const MetaFields& own, const MetaFields& edited);

// The editor's undo history of whole-draft snapshots, oldest first, holding the newest 100.
class DraftHistory {
public:
    static constexpr int kLimit = 100;
    void push(const MetaFields& draft);
    // The newest snapshot, removed; nothing when empty.
    std::optional<MetaFields> takeNewest();
    void clear() { m_entries.clear(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    int size() const { return int(m_entries.size()); }

private:
    QList<MetaFields> m_entries;
};

class MetadataDrafts : public QObject {
    Q_OBJECT
public:
    explicit MetadataDrafts(Store& store);
    ~MetadataDrafts() override;  // waits for the file being written

    struct Loaded {
        MetaFields draft;
        bool reading = false;  // a movie's read runs; `draft` is its empty placeholder
    };
    // The record to show for the item, which becomes the shown file: its draft entry when there
    // is one (nothing is read); else a movie's read is started (once per file) and its empty
    // placeholder returned; else the file is read now. A read is stored as the file's draft and
    // as its original, so later edits count as unsaved.
    Loaded load(const FileItem& item);
    // The file the editor shows; a movie's read that ends for another file is dropped.
    void setShown(std::optional<QUuid> id);
    const std::optional<QUuid>& shown() const { return m_shown; }
    bool isReading(const QUuid& id) const { return m_reading.contains(id); }

    // An edited draft of a file. Nothing is stored while the file's read runs: its placeholder
    // must never stand in for what the movie holds.
    void storeDraft(const QUuid& id, const MetaFields& draft);
    // Drops the drafts of the files; the next load reads them again.
    void revert(const QSet<QUuid>& ids);
    // Adds a logging or custom key to the bin's custom columns when it is not there yet.
    void rememberCustomKey(const QString& key);

    // A save or an apply is running.
    bool busy() const { return m_job.has_value(); }
    // Writes the shown file's draft into the target files in order. Each file takes the draft as
    // it stands when its turn comes; a written file's draft and original become its own record
    // with the edited fields. Refused while busy.
    void save(const QList<FileItem>& targets, const QUuid& shownId, const MetaFields& draft);
    // Writes the draft into every listed file of the draft's kind, in list order.
    void applyToAll(const QUuid& shownId, const MetaFields& draft);

signals:
    // A movie's read landed as the shown file's draft.
    void draftRead(const QUuid& id);
    void busyChanged(bool busy);

private:
    struct Job {
        bool apply = false;
        QList<FileItem> files;
        QUuid shownId;
        MetaFields draft;  // the shown file's draft when it has no entry
        qsizetype next = 0;
        int ok = 0;
    };
    struct Outcome {
        bool ok = false;
        std::optional<MetaFields> own;  // the file as read after the write
    };
    void finishRead(const QUuid& id, const MetaFields& fields);
    void start(Job job);
    void writeNext();
    void recordWritten(const FileItem& file, const MetaFields& draft, const Outcome& outcome);
    void finishJob();

    Store& m_store;
    std::optional<QUuid> m_shown;
    QSet<QUuid> m_reading;
    std::optional<Job> m_job;
    QThreadPool m_writer;  // one file at a time
};
