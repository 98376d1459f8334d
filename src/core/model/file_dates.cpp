#include "model/file_dates.h"

#include "metadata/metadata_reader.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QFile>
#include <QPointer>
#include <QPromise>
#include <QStringBuilder>
#include <QtConcurrent/QtConcurrentMap>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr qsizetype kDateTextBound = 20000;

QString sourceWord(DateSource s)
{
    return rawValue(s);
}

QString patternOrDefault(const QString& pattern)
{
    return pattern.isEmpty() ? QStringLiteral("yyyy-MM-dd") : pattern;
}

struct FileTimes {
    std::optional<QDateTime> modified;
    std::optional<QDateTime> created;  // only where the file system keeps one
};

QDateTime utcOf(const struct statx_timestamp& t)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000, Qt::UTC);
}

// One statx call; dates in UTC, so that writing them in local time needs no C-library zone lookup.
FileTimes readFileTimes(const QString& path)
{
    struct statx st {};
    FileTimes times;
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), 0, STATX_MTIME | STATX_BTIME, &st) != 0)
        return times;
    if (st.stx_mask & STATX_MTIME)
        times.modified = utcOf(st.stx_mtime);
    if (st.stx_mask & STATX_BTIME)
        times.created = utcOf(st.stx_btime);
    return times;
}

// Sets the modification date (the creation date has no setter on Linux). False on any failure.
bool stampModificationDate(const QString& path, const QDateTime& date)
{
    const qint64 ms = date.toMSecsSinceEpoch();
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = time_t(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
    times[1].tv_nsec = long((ms - qint64(times[1].tv_sec) * 1000) * 1000000);
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

// The capture date's part of a date-text key. A local date is keyed by its wall-clock reading:
// turning it into an instant asks the C library for the zone, a file-system call per name.
QString captureKey(const std::optional<QDateTime>& date)
{
    if (!date)
        return QStringLiteral("-1.0");
    if (date->timeSpec() == Qt::LocalTime)
        return u'L' % QString::number(date->date().toJulianDay()) % u'.'
             % QString::number(date->time().msecsSinceStartOfDay());
    return QString::number(double(date->toMSecsSinceEpoch()) / 1000.0, 'f', 3);
}

std::optional<QDateTime> fileDateThrough(const QString& path, bool creation,
                                         QHash<QString, std::optional<QDateTime>>& cache,
                                         const QHash<QString, std::optional<QDateTime>>* known = nullptr)
{
    const QString cacheKey = (creation ? QStringLiteral("creationDate|") : QStringLiteral("contentModificationDate|"))
                           + path;
    if (known) {
        const auto it = known->constFind(cacheKey);
        if (it != known->constEnd())
            return *it;
    }
    const auto it = cache.constFind(cacheKey);
    if (it != cache.constEnd())
        return *it;
    const FileTimes times = readFileTimes(path);
    const std::optional<QDateTime> date = creation ? times.created : times.modified;
    cache.insert(cacheKey, date);
    return date;
}

QString fileDateText(const RuleSettings& rules, const FileItem& item,
                     QHash<QString, std::optional<QDateTime>>& fileDates,
                     const QHash<QString, std::optional<QDateTime>>* known = nullptr)
{
    std::optional<QDateTime> date;
    switch (rules.dateSource) {
    case DateSource::capture:
        date = item.captureDate ? item.captureDate : fileDateThrough(item.url, false, fileDates, known);
        break;
    case DateSource::modified: date = fileDateThrough(item.url, false, fileDates, known); break;
    case DateSource::created: date = fileDateThrough(item.url, true, fileDates, known); break;
    }
    if (!date)
        return {};
    return DateFormatterCache::format(*date, patternOrDefault(rules.dateFormat));
}

struct Listed {
    QUuid id;
    QString path;
    MetaKind kind;
    std::optional<QDateTime> captureDate;
};

QList<Listed> listed(const QList<FileItem>& items)
{
    QList<Listed> out;
    out.reserve(items.size());
    for (const FileItem& it : items)
        out.append({it.id, it.url, metaKindForPath(it.url), it.captureDate});
    return out;
}

using DateById = QHash<QUuid, std::optional<QDateTime>>;

struct ExtractRun {
    QList<Listed> videos;
    qsizetype next = 0;
    DateById dates;
    QPromise<void> done;
};

void finishExtraction(Store& store, ExtractRun& run)
{
    store.editItems([&](QList<FileItem>& items) {
        for (FileItem& item : items) {
            const auto it = run.dates.constFind(item.id);
            if (it != run.dates.constEnd())
                item.captureDate = *it;  // an absent date clears an earlier one
        }
    });
    store.setStatus(L("Capture dates extracted.", "已提取拍摄/创建日期。"));
    store.editActivity([](Activity& a) { a.dateBusy = false; });
    run.done.finish();
}

void readNextVideo(QPointer<Store> store, std::shared_ptr<ExtractRun> run)
{
    if (!store)
        return;
    if (run->next >= run->videos.size()) {
        finishExtraction(*store, *run);
        return;
    }
    const Listed video = run->videos.at(run->next++);
    store->metadataReader().read(video.path).then(store.data(), [store, run, video](const MetaFields& f) {
        run->dates.insert(video.id, f.date);
        readNextVideo(store, run);
    });
}

struct StampRun {
    QList<Listed> files;
    qsizetype next = 0;
    int stamped = 0;
    QPromise<void> done;
};

void finishStamping(Store& store, StampRun& run)
{
    // The stamped files' modification dates changed: cached dates and texts are stale now.
    if (run.stamped > 0)
        store.dates().clearCaches();
    const QString n = QString::number(run.stamped);
    store.setStatus(Lang::zh()
                        ? QStringLiteral("已把 ") + n + QStringLiteral(" 个文件的日期设为拍摄/创建日期。")
                        : QStringLiteral("Set file date on ") + n + QStringLiteral(" file(s) from capture date."));
    run.done.finish();
}

void stampNext(QPointer<Store> store, std::shared_ptr<StampRun> run)
{
    while (store) {
        if (run->next >= run->files.size()) {
            finishStamping(*store, *run);
            return;
        }
        const Listed file = run->files.at(run->next++);
        std::optional<QDateTime> date = file.captureDate;
        if (!date && file.kind == MetaKind::image)
            date = store->metadataReader().readImageOrPDF(file.path).date;
        if (!date && file.kind == MetaKind::video) {
            store->metadataReader().read(file.path).then(store.data(), [store, run, file](const MetaFields& f) {
                if (f.date && stampModificationDate(file.path, *f.date))
                    ++run->stamped;
                stampNext(store, run);
            });
            return;
        }
        if (date && stampModificationDate(file.path, *date))
            ++run->stamped;
    }
}

}  // namespace

void FileDates::clearCaches()
{
    m_fileDateCache.clear();
    m_dateStringCache.clear();
    ++m_generation;
}

// A text per listed item, so that a long list's names do not push out each other's.
qsizetype FileDates::textBound() const
{
    return std::max(kDateTextBound, 2 * m_store.items().size());
}

void FileDates::keep(const DateCaches& found, quint64 generation) const
{
    if (generation != m_generation)
        return;
    const qsizetype bound = textBound();
    for (auto it = found.texts.cbegin(); it != found.texts.cend() && m_dateStringCache.size() < bound; ++it)
        m_dateStringCache.insert(it.key(), it.value());
    for (auto it = found.fileDates.cbegin(); it != found.fileDates.cend() && m_fileDateCache.size() < bound; ++it)
        m_fileDateCache.insert(it.key(), it.value());
}

QString FileDates::dateText(const FileItem& item) const
{
    return cachedDateText(m_store.rules(), item, m_fileDateCache, m_dateStringCache, textBound());
}

QString FileDates::computeDateText(const FileItem& item) const
{
    return fileDateText(m_store.rules(), item, m_fileDateCache);
}

std::optional<QDateTime> FileDates::cachedFileDate(const QString& path, FileDateKey key) const
{
    return fileDateThrough(path, key == FileDateKey::creation, m_fileDateCache);
}

namespace {

QString dateTextThrough(const RuleSettings& rules, const FileItem& item, const DateCaches* known,
                        QHash<QString, std::optional<QDateTime>>& fileDates, QHash<QString, QString>& texts,
                        qsizetype bound)
{
    if (!rules.dateEnabled)
        return {};
    const QString key = item.id.toString(QUuid::WithoutBraces) % u'|' % QString::number(qHash(item.url)) % u'|'
                      % sourceWord(rules.dateSource) % u'|' % rules.dateFormat % u'|' % captureKey(item.captureDate);
    if (known) {
        const auto it = known->texts.constFind(key);
        if (it != known->texts.constEnd())
            return *it;
    }
    const auto it = texts.constFind(key);
    if (it != texts.constEnd())
        return *it;
    const QString text = fileDateText(rules, item, fileDates, known ? &known->fileDates : nullptr);
    if (texts.size() > bound)
        texts.clear();
    texts.insert(key, text);
    return text;
}

}  // namespace

QString cachedDateText(const RuleSettings& rules, const FileItem& item,
                       QHash<QString, std::optional<QDateTime>>& fileDates, QHash<QString, QString>& texts,
                       qsizetype bound)
{
    return dateTextThrough(rules, item, nullptr, fileDates, texts, bound);
}

QString cachedDateText(const RuleSettings& rules, const FileItem& item, const DateCaches& known, DateCaches& added)
{
    return dateTextThrough(rules, item, &known, added.fileDates, added.texts, kDateTextBound);
}

QString ruleSetDateText(const RuleSettings& rules, const std::optional<QString>& path,
                        const std::optional<QDateTime>& captureDate)
{
    if (!rules.dateEnabled)
        return {};
    std::optional<QDateTime> date;
    if (!path) {
        date = QDateTime::currentDateTime();
    } else {
        const FileTimes times = readFileTimes(*path);
        switch (rules.dateSource) {
        case DateSource::modified: date = times.modified; break;
        case DateSource::created: date = times.created; break;
        case DateSource::capture: date = captureDate ? captureDate : times.modified; break;
        }
    }
    if (!date)
        return {};
    return DateFormatterCache::format(*date, patternOrDefault(rules.dateFormat));
}

QFuture<void> FileDates::extractCaptureDates()
{
    if (m_store.items().isEmpty())
        return QtFuture::makeReadyFuture();
    m_store.editActivity([](Activity& a) { a.dateBusy = true; });
    auto run = std::make_shared<ExtractRun>();
    run->done.start();
    QList<Listed> stills;
    for (const Listed& l : listed(m_store.items())) {
        if (l.kind == MetaKind::image)
            stills.append(l);
        else if (l.kind == MetaKind::video)
            run->videos.append(l);
    }
    QFuture<void> result = run->done.future();
    std::shared_ptr<MetadataReader> reader = m_store.services().metadataReader;
    const auto readStill = [reader](const Listed& l) {
        return std::pair<QUuid, std::optional<QDateTime>>(l.id, reader->readImageOrPDF(l.path).date);
    };
    QPointer<Store> self(&m_store);
    QtConcurrent::mapped(stills, readStill)
        .then(&m_store, [self, run](QFuture<std::pair<QUuid, std::optional<QDateTime>>> f) {
            for (const auto& [id, date] : f.results())
                run->dates.insert(id, date);
            readNextVideo(self, run);
        });
    return result;
}

QFuture<void> FileDates::setFileDatesFromCapture()
{
    if (m_store.items().isEmpty())
        return QtFuture::makeReadyFuture();
    auto run = std::make_shared<StampRun>();
    run->done.start();
    run->files = listed(m_store.items());
    QFuture<void> result = run->done.future();
    stampNext(QPointer<Store>(&m_store), run);
    return result;
}
