#include "metadata_reader.h"

#include "metadata/file_metadata_reader.h"

#include <QHash>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

MetadataReader::~MetadataReader() = default;

void MetadataReader::readThen(const QString& path, QObject* context, std::function<void(const MetaFields&)> done,
                              std::function<void()> canceled) const
{
    read(path)
        .then(context,
              [context, done = std::move(done)](const MetaFields& fields) {
                  QMetaObject::invokeMethod(
                      context, [done, fields] { done(fields); }, Qt::QueuedConnection);
              })
        .onCanceled(context, std::move(canceled));
}

std::shared_ptr<MetadataReader> MetadataReader::makeDefault()
{
    return std::make_shared<FileMetadataReader>();
}

MetaFields EmptyMetadataReader::readImageOrPDF(const QString&) const
{
    return {};
}

QFuture<MetaFields> EmptyMetadataReader::read(const QString&) const
{
    return QtFuture::makeReadyFuture(MetaFields{});
}

namespace {

icu::UnicodeString toIcu(const QString& s)
{
    return icu::UnicodeString(reinterpret_cast<const char16_t*>(s.utf16()), int32_t(s.size()));
}

// The instant of a date. A local date is converted with ICU's copy of the zone rules: Qt would
// ask the C library, which looks at the zone file again on every call.
UDate instantOf(const QDateTime& date)
{
    if (date.timeSpec() != Qt::LocalTime)
        return UDate(date.toMSecsSinceEpoch());
    thread_local std::unique_ptr<icu::GregorianCalendar> calendar = [] {
        UErrorCode status = U_ZERO_ERROR;
        auto c = std::make_unique<icu::GregorianCalendar>(status);
        return U_SUCCESS(status) ? std::move(c) : nullptr;
    }();
    if (!calendar)
        return UDate(date.toMSecsSinceEpoch());
    const QDate d = date.date();
    const QTime t = date.time();
    calendar->clear();
    calendar->set(d.year(), d.month() - 1, d.day(), t.hour(), t.minute(), t.second());
    calendar->set(UCAL_MILLISECOND, t.msec());
    UErrorCode status = U_ZERO_ERROR;
    const UDate instant = calendar->getTime(status);
    if (U_FAILURE(status))
        return UDate(date.toMSecsSinceEpoch());
    return instant;
}

}  // namespace

namespace {
using FormatterMap = QHash<QString, std::shared_ptr<icu::SimpleDateFormat>>;

// Every keystroke in the date pattern field is a new pattern: the map is bounded.
FormatterMap& threadFormatters()
{
    thread_local FormatterMap cache;
    return cache;
}
}  // namespace

int DateFormatterCache::cachedFormatterCount()
{
    return int(threadFormatters().size());
}

const icu::SimpleDateFormat* DateFormatterCache::formatter(const QString& pattern)
{
    // A rejected pattern is remembered as nullptr, so it is not parsed again on every name.
    FormatterMap& cache = threadFormatters();
    const auto it = cache.constFind(pattern);
    if (it != cache.constEnd())
        return it->get();
    constexpr qsizetype kBound = 50;
    if (cache.size() > kBound)
        cache.clear();
    UErrorCode status = U_ZERO_ERROR;
    auto f = std::make_shared<icu::SimpleDateFormat>(toIcu(pattern), icu::Locale("en_US_POSIX"), status);
    if (U_FAILURE(status))
        f.reset();
    cache.insert(pattern, f);
    return f.get();
}

QString DateFormatterCache::format(const QDateTime& date, const QString& pattern)
{
    const icu::SimpleDateFormat* f = formatter(pattern);
    if (!f || !date.isValid())
        return {};
    icu::UnicodeString out;
    f->format(instantOf(date), out);
    return QString(reinterpret_cast<const QChar*>(out.getBuffer()), out.length());
}
