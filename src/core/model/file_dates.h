#pragma once
// Date texts of the insert-date rule, file dates, and the two date actions of the date editor.
// Owned by the Store and reached through Store::dates(); keeps its own unpublished caches.
#include "model/file_item.h"
#include "model/rule_settings.h"

#include <QDateTime>
#include <QFuture>
#include <QHash>
#include <QString>
#include <optional>

class Store;

// Date caches that several threads read at once: each reads the shared `known` ones, left
// unchanged while they run, and keeps what it works out beyond them in its own `added`.
struct DateCaches {
    QHash<QString, std::optional<QDateTime>> fileDates;
    QHash<QString, QString> texts;
};

class FileDates {
public:
    explicit FileDates(Store& store) : m_store(store) {}

    enum class FileDateKey { creation, contentModification };
    // The item's text for the date rule, cached; empty while the rule is off.
    QString dateText(const FileItem& item) const;
    QString computeDateText(const FileItem& item) const;
    std::optional<QDateTime> cachedFileDate(const QString& path, FileDateKey key) const;
    // Reads capture dates of the listed stills (in parallel) and videos (one at a time) into the
    // list; the future finishes on the main thread once the list and status are updated.
    QFuture<void> extractCaptureDates();
    // Sets each listed file's date to its capture date. Linux cannot set a creation date, so
    // the modification date is set and a file counts as done when that worked.
    QFuture<void> setFileDatesFromCapture();

    // Dates read from disk and the texts made of them; dropped when files move or change.
    QHash<QString, std::optional<QDateTime>>& fileDateCache() const { return m_fileDateCache; }
    QHash<QString, QString>& dateStringCache() const { return m_dateStringCache; }
    void clearCaches();
    // Moves on at every clearCaches(): what was read before then is not to be kept.
    quint64 generation() const { return m_generation; }
    // Keeps what a check worked out on a snapshot of the caches taken at `generation`, when they
    // have not been dropped since; the texts are kept for as many items as are listed.
    void keep(const DateCaches& found, quint64 generation) const;

private:
    qsizetype textBound() const;

    Store& m_store;
    quint64 m_generation = 0;
    mutable QHash<QString, std::optional<QDateTime>> m_fileDateCache;
    mutable QHash<QString, QString> m_dateStringCache;
};

// The item's text for the date rule (empty while the rule is off), through the given caches:
// FileDates' own, or a copy of them on another thread.
QString cachedDateText(const RuleSettings& rules, const FileItem& item,
                       QHash<QString, std::optional<QDateTime>>& fileDates, QHash<QString, QString>& texts,
                       qsizetype bound = 20000);

// The item's text for the date rule through `known`, read only, and `added` (see DateCaches).
QString cachedDateText(const RuleSettings& rules, const FileItem& item, const DateCaches& known, DateCaches& added);

// The date text the rule set gives a file, without caches; no path means now.
QString ruleSetDateText(const RuleSettings& rules, const std::optional<QString>& path,
                        const std::optional<QDateTime>& captureDate);
