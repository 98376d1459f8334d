// The text that stands for a file's content: a text file's own text, the first pages of a PDF,
// or the text recognised in an image.
#include "ai_content.h"

#include "metadata/meta_fields.h"
#include "model/file_item.h"
#include "model/rule_engine.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>

#include <leptonica/allheaders.h>
#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <memory>
#include <omp.h>

namespace AIName {

namespace {

constexpr qsizetype pdfEnoughChars = 1500;
constexpr int pdfMaxPages = 3;
constexpr int imageMaxLines = 15;
constexpr float lineMinConfidence = 60.0f;

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

QString fromUstring(const poppler::ustring& s)
{
    const poppler::byte_array utf8 = s.to_utf8();
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

void quietPoppler(const std::string&, void*) {}

std::optional<QString> pdfText(const QString& path)
{
    poppler::set_debug_error_function(quietPoppler, nullptr);
    const QByteArray local = QFile::encodeName(path);
    std::unique_ptr<poppler::document> doc(poppler::document::load_from_file(local.toStdString()));
    if (!doc || doc->is_locked() || doc->pages() < 1)
        return std::nullopt;
    QString text;
    for (int i = 0; i < std::min(doc->pages(), pdfMaxPages); ++i) {
        std::unique_ptr<poppler::page> page(doc->create_page(i));
        // poppler ends each page's text with a form feed; it is no part of the page's text.
        if (page)
            text += fromUstring(page->text()).remove(QChar('\f'));
        if (graphemeCount(text) > pdfEnoughChars)
            break;
    }
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

bool hasLetterOrDigit(const QString& s)
{
    for (const QChar c : s)
        if (c.isLetterOrNumber())
            return true;
    return false;
}

struct PixDeleter {
    void operator()(Pix* p) const { pixDestroy(&p); }
};

// Lines that tesseract reads with confidence and that hold a letter or digit, in reading order.
QStringList recognisedLines(Pix* pix)
{
    // Recognition asks for several threads; on a busy machine their busy-waiting costs far more
    // than it gains, so the runtime may hand out fewer as the load rises.
    omp_set_dynamic(1);
    tesseract::TessBaseAPI api;
    if (api.Init(nullptr, "eng") != 0)
        return {};
    api.SetVariable("debug_file", "/dev/null");
    api.SetImage(pix);
    if (pixGetXRes(pix) <= 0)
        api.SetSourceResolution(300);
    if (api.Recognize(nullptr) != 0)
        return {};
    QStringList lines;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it)
        return {};
    do {
        std::unique_ptr<char[]> raw(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
        if (!raw)
            continue;
        const QString line = QString::fromUtf8(raw.get()).simplified();
        if (it->Confidence(tesseract::RIL_TEXTLINE) >= lineMinConfidence && hasLetterOrDigit(line))
            lines << line;
    } while (lines.size() < imageMaxLines && it->Next(tesseract::RIL_TEXTLINE));
    return lines;
}

}  // namespace

std::optional<QString> extractText(const QString& path)
{
    const QString ext = PathText::extension(PathText::lastComponent(path)).toLower();
    if (isTextExtension(ext))
        return readTextPrefix(path);
    if (ext == QLatin1String("pdf"))
        return pdfText(path);
    return std::nullopt;
}

std::optional<QString> describeImage(const QString& path)
{
    setMsgSeverity(L_SEVERITY_NONE);
    std::unique_ptr<Pix, PixDeleter> pix(pixRead(QFile::encodeName(path).constData()));
    if (!pix)
        return std::nullopt;
    // No offline image classifier exists here, so the description has no "The image shows"
    // part: only the recognised text.
    const QStringList lines = recognisedLines(pix.get());
    const QString joined = lines.join(' ');
    if (joined.isEmpty())
        return std::nullopt;
    return QStringLiteral("Text in the image: ") + joined;
}

std::optional<QString> contentTextNow(const QString& path)
{
    if (metaKindForPath(path) == MetaKind::image)
        return describeImage(path);
    return extractText(path);
}

}  // namespace AIName
