#include "quick_look.h"

#include "media_module.h"
#include "platform/lang.h"
#include "video_frame.h"

#include <QApplication>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
constexpr qint64 kTextPreviewBytes = 64 * 1024;

QImage readImage(const QString& path, const QSize& maxSize)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > maxSize.width() || size.height() > maxSize.height()))
        reader.setScaledSize(size.scaled(maxSize, Qt::KeepAspectRatio));
    return reader.read();
}

QImage renderPdfFirstPage(const QString& path, const QSize& maxSize)
{
    const MediaModule::Table* media = MediaModule::table();
    return media ? media->firstPdfPage(path, maxSize) : QImage();
}

QString readTextStart(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.read(kTextPreviewBytes));
}

QString factsOf(const QFileInfo& info, const QString& mimeComment)
{
    const QLocale locale = Lang::locale();
    QStringList lines{info.fileName(), mimeComment};
    if (info.isFile())
        lines << locale.formattedDataSize(info.size());
    lines << L("Modified: ", "修改时间:") + locale.toString(info.lastModified(), QLocale::ShortFormat);
    return lines.join('\n');
}
}  // namespace

PreviewContent loadPreview(const QString& path, const QSize& maxSize)
{
    PreviewContent c;
    const QFileInfo info(path);
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info);
    if (info.isFile()) {
        if (mime.name() == "application/pdf") {
            c.image = renderPdfFirstPage(path, maxSize);
            c.kind = PreviewContent::Kind::Pdf;
        } else if (mime.name().startsWith("video/")) {
            c.image = firstVideoFrame(path, maxSize);
            c.kind = PreviewContent::Kind::Video;
        } else if (mime.name().startsWith("image/")) {
            c.image = readImage(path, maxSize);
            c.kind = PreviewContent::Kind::Image;
        } else if (mime.inherits("text/plain")) {
            c.text = readTextStart(path);
            c.kind = PreviewContent::Kind::Text;
            return c;
        }
        if (!c.image.isNull())
            return c;
    }
    c = {};
    c.kind = PreviewContent::Kind::Icon;
    c.facts = factsOf(info, mime.comment());
    return c;
}

QuickLook& QuickLook::shared()
{
    static QPointer<QuickLook> instance;
    if (!instance) {
        instance = new QuickLook;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, instance.data(), &QObject::deleteLater);
    }
    return *instance;
}

QuickLook::QuickLook() : QWidget(nullptr, Qt::Window)
{
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(720, 560);
    auto* layout = new QVBoxLayout(this);
    m_title = new QLabel(this);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pages = new QStackedWidget(this);
    m_picture = new QLabel(m_pages);
    m_picture->setAlignment(Qt::AlignCenter);
    m_text = new QPlainTextEdit(m_pages);
    m_text->setReadOnly(true);
    m_text->setFocusPolicy(Qt::NoFocus);  // arrow keys belong to the window, not the text
    auto* iconPage = new QWidget(m_pages);
    auto* iconLayout = new QVBoxLayout(iconPage);
    m_iconLabel = new QLabel(iconPage);
    m_iconLabel->setAlignment(Qt::AlignCenter);
    m_facts = new QLabel(iconPage);
    m_facts->setAlignment(Qt::AlignCenter);
    iconLayout->addStretch();
    iconLayout->addWidget(m_iconLabel);
    iconLayout->addWidget(m_facts);
    iconLayout->addStretch();
    m_pages->addWidget(m_picture);
    m_pages->addWidget(m_text);
    m_pages->addWidget(iconPage);
    layout->addWidget(m_title);
    layout->addWidget(m_pages, 1);
    setFocusPolicy(Qt::StrongFocus);
}

void QuickLook::show(const QStringList& paths)
{
    QStringList existing;
    for (const QString& p : paths)
        if (QFileInfo::exists(p))
            existing << p;
    m_urls = existing;
    if (m_urls.isEmpty())
        return;
    showItem(0);
    QWidget::show();
    raise();
    activateWindow();
    setFocus();
}

void QuickLook::showItem(int index)
{
    m_current = index;
    const QString path = m_urls.value(index);
    m_content = loadPreview(path, QSize(1400, 1000));
    setWindowTitle(QFileInfo(path).fileName());
    m_title->setText(QStringLiteral("%1  (%2 / %3)").arg(QFileInfo(path).fileName()).arg(index + 1).arg(m_urls.size()));
    switch (m_content.kind) {
    case PreviewContent::Kind::Text:
        m_text->setPlainText(m_content.text);
        m_pages->setCurrentIndex(1);
        break;
    case PreviewContent::Kind::Icon:
        m_iconLabel->setPixmap(QFileIconProvider().icon(QFileInfo(path)).pixmap(96, 96));
        m_facts->setText(m_content.facts);
        m_pages->setCurrentIndex(2);
        break;
    default: {
        const QSize room = m_pages->size().isEmpty() ? QSize(680, 480) : m_pages->size();
        QPixmap pm = QPixmap::fromImage(m_content.image);
        if (pm.width() > room.width() || pm.height() > room.height())
            pm = pm.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        m_picture->setPixmap(pm);
        m_pages->setCurrentIndex(0);
        break;
    }
    }
}

void QuickLook::keyPressEvent(QKeyEvent* event)
{
    const int count = int(m_urls.size());
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        if (count > 0)
            showItem(qMax(0, m_current - 1));
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        if (count > 0)
            showItem(qMin(count - 1, m_current + 1));
        break;
    case Qt::Key_Space:
    case Qt::Key_Escape: close(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}
