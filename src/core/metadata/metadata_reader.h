#pragma once
// Reading the metadata of one file, and the date formatters every date text goes through.
// The model reaches the reader through StoreServices so that tests can hand in dates.
#include "metadata/meta_fields.h"

#include <QDateTime>
#include <QFuture>
#include <QString>
#include <functional>
#include <memory>
#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class SimpleDateFormat;
U_NAMESPACE_END

class MetadataReader {
public:
    virtual ~MetadataReader();

    // Still images and PDF documents; called from several threads at once, so it must keep no
    // unguarded shared state. A file without a date gives an absent `date`.
    virtual MetaFields readImageOrPDF(const QString& path) const = 0;
    // Any file (for videos the movie's metadata); the future finishes with the record.
    virtual QFuture<MetaFields> read(const QString& path) const = 0;

    // The reader of the running application.
    static std::shared_ptr<MetadataReader> makeDefault();

    // read(), its record handed to `done` on `context`'s thread through the event loop, never
    // inside this call: a read already over when a continuation is attached would run it at once,
    // before the caller has shown what it shows while the read goes on. `canceled` runs instead
    // when the read is canceled. Nothing runs once `context` is gone.
    void readThen(const QString& path, QObject* context, std::function<void(const MetaFields&)> done,
                  std::function<void()> canceled) const;
};

// The empty record of a file whose metadata is not known: kind unsupported, no date, empty
// texts, zero numbers.
class EmptyMetadataReader : public MetadataReader {
public:
    MetaFields readImageOrPDF(const QString& path) const override;
    QFuture<MetaFields> read(const QString& path) const override;
};

// Date formatters with locale "en_US_POSIX" and the local time zone, one per pattern and per
// thread (a formatter is not safe to share between threads while it formats).
namespace DateFormatterCache {
// Valid for the calling thread only, until its next call; nullptr when ICU rejects the
// pattern. A thread's cache is emptied whole when a new pattern finds more than 50 in it.
const icu::SimpleDateFormat* formatter(const QString& pattern);
// Formatters held for the calling thread.
int cachedFormatterCount();
// The date written with the pattern; empty when the pattern is rejected.
QString format(const QDateTime& date, const QString& pattern);
}  // namespace DateFormatterCache
