// The text that stands for a file's content: a text file's own text, the first pages of a PDF,
// or the text recognised in an image.
#include "ai_content.h"

#include "media_module.h"
#include "metadata/meta_fields.h"
#include "model/file_item.h"
#include "model/rule_engine.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>

namespace AIName {

namespace {

bool isTextExtension(const QString& ext)
{
    static const QSet<QString> text{"txt", "text",  "md",  "markdown", "csv", "tsv", "log", "json", "xml",  "html",
                                    "htm", "swift", "py",  "js",       "ts",  "tsx", "jsx", "java", "kt",   "c",
                                    "cpp", "cc",    "h",   "hpp",      "m",   "mm",  "cs",  "css",  "scss", "yaml",
                                    "yml", "toml",  "ini", "conf",     "sh",  "rb",  "go",  "rs",   "php",  "sql"};
    return text.contains(ext);
}

// Bytes at the end of `data` that begin a UTF-8 sequence the data does not finish.
int unfinishedTail(const QByteArray& data)
{
    for (int back = 1; back <= 3 && back <= data.size(); ++back) {
        const auto b = static_cast<unsigned char>(data.at(data.size() - back));
        if ((b & 0xC0) == 0x80)
            continue;  // a continuation byte: look further back
        const int needed = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return needed > back ? back : 0;
    }
    return 0;
}

// A text file as UTF-8, decoded from its first bytes only: a multi-gigabyte recording with a
// text extension costs one chunk, and a huge log its prefix.
std::optional<QString> readTextPrefix(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text;
    QByteArray last;
    qint64 total = 0;
    constexpr qint64 chunk = 256 * 1024;
    while (total < textPrefixBytes) {
        const QByteArray bytes = file.read(std::min(chunk, textPrefixBytes - total));
        if (bytes.isEmpty())
            break;
        last = bytes;
        total += last.size();
        text += decoder.decode(last);
        if (decoder.hasError())
            return std::nullopt;  // not UTF-8: stop at the first bad chunk
    }
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    // A sequence cut by the end of the file is invalid; one cut by the prefix bound is not.
    if (file.atEnd() && unfinishedTail(last) > 0)
        return std::nullopt;
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

}  // namespace

std::optional<QString> extractText(const QString& path)
{
    const QString ext = PathText::extension(PathText::lastComponent(path)).toLower();
    if (isTextExtension(ext))
        return readTextPrefix(path);
    if (ext != QLatin1String("pdf"))
        return std::nullopt;
    const MediaModule::Table* media = MediaModule::table();
    return media ? media->pdfText(path) : std::nullopt;
}

std::optional<QString> describeImage(const QString& path)
{
    const MediaModule::Table* media = MediaModule::table();
    return media ? media->describeImage(path) : std::nullopt;
}

std::optional<QString> contentTextNow(const QString& path)
{
    if (metaKindForPath(path) == MetaKind::image)
        return describeImage(path);
    return extractText(path);
}

}  // namespace AIName
