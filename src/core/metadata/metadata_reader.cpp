#include "metadata_reader.h"

#include <QHash>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

MetadataReader::~MetadataReader() = default;

std::shared_ptr<MetadataReader> MetadataReader::makeDefault()
{
    return std::make_shared<EmptyMetadataReader>();
}

MetaFields EmptyMetadataReader::readImageOrPDF(const QString&) const { return {}; }

QFuture<MetaFields> EmptyMetadataReader::read(const QString&) const
{
    return QtFuture::makeReadyFuture(MetaFields{});
}

namespace {

icu::UnicodeString toIcu(const QString& s)
{
    return icu::UnicodeString(reinterpret_cast<const char16_t*>(s.utf16()), int32_t(s.size()));
}

} // namespace

const icu::SimpleDateFormat* DateFormatterCache::formatter(const QString& pattern)
{
    // A rejected pattern is remembered as nullptr, so it is not parsed again on every name.
    thread_local QHash<QString, std::shared_ptr<icu::SimpleDateFormat>> cache;
    const auto it = cache.constFind(pattern);
    if (it != cache.constEnd())
        return it->get();
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
    f->format(UDate(date.toMSecsSinceEpoch()), out);
    return QString(reinterpret_cast<const QChar*>(out.getBuffer()), out.length());
}
