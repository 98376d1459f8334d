// The content text's parts that need Poppler and Tesseract: the first pages of a PDF and the
// text recognised in an image.
#include "media_functions.h"

#include "model/rule_engine.h"

#include <QFile>
#include <QStringList>

#include <leptonica/allheaders.h>
#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <memory>
#include <omp.h>

namespace {

constexpr qsizetype pdfEnoughChars = 1500;
constexpr int pdfMaxPages = 3;
constexpr int imageMaxLines = 15;
constexpr float lineMinConfidence = 60.0f;

QString fromUstring(const poppler::ustring& s)
{
    const poppler::byte_array utf8 = s.to_utf8();
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

void quietPoppler(const std::string&, void*) {}

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

std::optional<QString> Media::pdfText(const QString& path)
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

std::optional<QString> Media::describeImage(const QString& path)
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
