#include "icons.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QImageReader>
#include <QStyle>
#include <QStyleOption>
#include <QThreadPool>

namespace {
struct IconEntry {
    const char* theme;
    QStyle::StandardPixmap fallback;
};

const QHash<QString, IconEntry>& iconMap()
{
    static const QHash<QString, IconEntry> map = {
        {"plus", {"list-add", QStyle::SP_FileDialogNewFolder}},
        {"folder.badge.plus", {"folder-new", QStyle::SP_FileDialogNewFolder}},
        {"folder.fill", {"folder", QStyle::SP_DirIcon}},
        {"trash", {"edit-delete", QStyle::SP_TrashIcon}},
        {"arrow.up.arrow.down", {"view-sort-ascending", QStyle::SP_ArrowUp}},
        {"link", {"insert-link|emblem-symbolic-link", QStyle::SP_FileLinkIcon}},
        {"eye", {"view-visible", QStyle::SP_FileDialogContentsView}},
        {"eye.slash", {"view-hidden", QStyle::SP_BrowserStop}},
        {"gearshape", {"preferences-system", QStyle::SP_FileDialogDetailedView}},
        {"arrow.uturn.backward", {"edit-undo", QStyle::SP_ArrowBack}},
        {"arrow.uturn.backward.circle", {"edit-undo", QStyle::SP_BrowserReload}},
        {"clock.arrow.circlepath", {"document-open-recent", QStyle::SP_FileDialogInfoView}},
        {"arrow.clockwise", {"view-refresh", QStyle::SP_BrowserReload}},
        {"arrow.right", {"go-next", QStyle::SP_ArrowRight}},
        {"line.3.horizontal", {"open-menu", QStyle::SP_ToolBarVerticalExtensionButton}},
        {"questionmark.circle", {"help-faq|help-contents|help-browser", QStyle::SP_MessageBoxQuestion}},
        {"calendar.badge.clock", {"x-office-calendar", QStyle::SP_FileDialogInfoView}},
        {"clock.arrow.2.circlepath", {"appointment-new", QStyle::SP_BrowserReload}},
        {"chevron.left", {"go-previous", QStyle::SP_ArrowLeft}},
        {"chevron.right", {"go-next", QStyle::SP_ArrowRight}},
        {"chevron.left.circle", {"go-previous", QStyle::SP_ArrowLeft}},
        {"chevron.right.circle", {"go-next", QStyle::SP_ArrowRight}},
        {"doc.on.doc", {"edit-copy", QStyle::SP_FileIcon}},
        {"envelope", {"mail-message-new", QStyle::SP_FileIcon}},
        {"exclamationmark.triangle.fill", {"dialog-warning", QStyle::SP_MessageBoxWarning}},
        {"xmark.circle.fill", {"window-close", QStyle::SP_DialogCloseButton}},
        {"minus.circle.fill", {"list-remove", QStyle::SP_DialogCancelButton}},
        {"tray.full", {"folder-documents|document-open", QStyle::SP_DirOpenIcon}},
        {"checkmark.seal.fill", {"emblem-default", QStyle::SP_DialogApplyButton}},
        {"square.and.arrow.down.on.square", {"document-save", QStyle::SP_DialogSaveButton}},
        {"square.and.arrow.down", {"document-save", QStyle::SP_DialogSaveButton}},
        {"square.stack.3d.up", {"edit-select-all", QStyle::SP_FileDialogListView}},
        {"square.stack.3d.up.fill", {"edit-select-all", QStyle::SP_FileDialogListView}},
        {"tag", {"tag|bookmark-new", QStyle::SP_FileDialogInfoView}},
        {"externaldrive.badge.plus", {"drive-harddisk", QStyle::SP_DriveHDIcon}},
        {"tablecells", {"x-office-spreadsheet", QStyle::SP_FileDialogDetailedView}},
        {"text.badge.plus", {"insert-text", QStyle::SP_FileIcon}},
        {"link.badge.plus", {"insert-link", QStyle::SP_FileLinkIcon}},
        {"bookmark", {"bookmark-new", QStyle::SP_DirLinkIcon}},
        {"rectangle.stack", {"view-list-details", QStyle::SP_FileDialogListView}},
        {"rectangle.stack.badge.plus", {"list-add", QStyle::SP_FileDialogListView}},
        {"sparkles", {"tools-wizard|starred", QStyle::SP_DialogHelpButton}},
        {"wand.and.stars", {"tools-wizard|starred", QStyle::SP_DialogHelpButton}},
        {"arrow.triangle.2.circlepath", {"view-refresh", QStyle::SP_ArrowUp}},
        {"play.fill", {"media-playback-start", QStyle::SP_ArrowRight}},
        {"plus.square.on.square", {"edit-copy", QStyle::SP_FileDialogNewFolder}},
        {"square.and.arrow.up", {"document-export|document-save-as", QStyle::SP_DialogSaveButton}},
        {"textformat.abc.dottedunderline", {"accessories-text-editor", QStyle::SP_FileDialogContentsView}},
        {"slider.horizontal.3", {"view-column|configure", QStyle::SP_FileDialogDetailedView}},
        {"square.and.pencil", {"document-edit|accessories-text-editor", QStyle::SP_FileDialogContentsView}},
        {"keyboard", {"input-keyboard", QStyle::SP_ComputerIcon}},
        {"wrench.and.screwdriver", {"preferences-other|applications-utilities", QStyle::SP_FileDialogDetailedView}},
        {"square.and.arrow.down", {"document-save", QStyle::SP_DialogSaveButton}},
        {"gauge.with.dots.needle.bottom.50percent", {"utilities-system-monitor", QStyle::SP_FileDialogInfoView}},
        {"list.bullet.rectangle", {"view-list-text|view-list-details", QStyle::SP_FileDialogListView}},
        {"arrow.down.to.line", {"go-bottom", QStyle::SP_ArrowDown}},
        {"doc.on.clipboard", {"edit-paste", QStyle::SP_FileIcon}},
        {"doc.on.doc.fill", {"edit-copy", QStyle::SP_FileIcon}},
        {"folder.badge.gearshape", {"folder-move|folder-open|folder", QStyle::SP_DirIcon}},
        {"character.bubble", {"preferences-desktop-locale|accessories-dictionary", QStyle::SP_FileDialogInfoView}},
    };
    return map;
}

// One value for each fallback, made once and dropped with the application, before its pixmaps'
// backing goes.
template <typename T, typename Make> T madeOnce(QStyle::StandardPixmap which, Make make)
{
    static QHash<int, T>* made = nullptr;
    if (!made) {
        made = new QHash<int, T>;
        qAddPostRoutine([] {
            delete made;
            made = nullptr;
        });
    }
    auto it = made->constFind(which);
    if (it == made->constEnd())
        it = made->insert(which, make());
    return *it;
}

// The style's icon for a fallback: the style reads every size of it from PNG files when the icon
// is made, and many symbols share a fallback.
QIcon styleIcon(QStyle::StandardPixmap which)
{
    return madeOnce<QIcon>(which, [which] { return QApplication::style()->standardIcon(which); });
}

// The style's own small pixmap of a fallback: the one image of the icon the style reads alone,
// and the image the icon gives at that size.
QPixmap stylePixmap(QStyle::StandardPixmap which)
{
    return madeOnce<QPixmap>(which, [which] { return QApplication::style()->standardPixmap(which); });
}

// Stands for a style icon until it is drawn larger than the small icon size, or measured so: the
// style reads every size of an icon from PNG files when the icon is made, while most controls draw
// only the small one or smaller, which the style's small pixmap alone gives.
class DeferredStyleIcon : public QIconEngine {
public:
    explicit DeferredStyleIcon(QStyle::StandardPixmap which) : m_which(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const QPixmap small = smallPixmap(size);
        if (small.isNull())
            return icon().pixmap(size, 1.0, mode, state);
        if (mode == QIcon::Normal)
            return small;
        // What the icon does for a mode it has no image of (disabled, selected).
        QStyleOption option;
        option.palette = QGuiApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, small, &option);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size / scale, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        if (!smallPixmap(size).isNull())
            return size;
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QString key() const override { return QStringLiteral("DeferredStyleIcon"); }
    QIconEngine* clone() const override { return new DeferredStyleIcon(m_which); }

private:
    QIcon icon() { return styleIcon(m_which); }
    // The style's small pixmap where `size` is square and at most the small icon size, scaled to it
    // as the whole icon scales its smallest image; else null.
    QPixmap smallPixmap(const QSize& size) const
    {
        const int side = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
        if (size.width() != size.height() || size.width() > side || size.isEmpty())
            return {};
        const QPixmap small = stylePixmap(m_which);
        if (small.size() != QSize(side, side))
            return {};
        return size == small.size() ? small : small.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    QStyle::StandardPixmap m_which;
};
}  // namespace

QString themeIconName(const QString& symbol)
{
    auto it = iconMap().constFind(symbol);
    return it == iconMap().constEnd() ? QString() : QString::fromLatin1(it->theme).section(u'|', 0, 0);
}

QStringList symbolNames()
{
    return iconMap().keys();
}

QIcon symbolIcon(const QString& symbol)
{
    auto it = iconMap().constFind(symbol);
    if (it == iconMap().constEnd())
        return {};
    // Candidates in order ("a|b"); current themes often ship only the "-symbolic" drawing.
    const QStringList names = QString::fromLatin1(it->theme).split(u'|');
    for (const QString& name : names) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
        if (QIcon::hasThemeIcon(name + QLatin1String("-symbolic")))
            return QIcon::fromTheme(name + QLatin1String("-symbolic"));
    }
    return styleFallbackIcon(symbol);
}

QIcon styleFallbackIcon(const QString& symbol, bool whole)
{
    auto it = iconMap().constFind(symbol);
    if (it == iconMap().constEnd())
        return {};
    return whole ? styleIcon(it->fallback) : QIcon(new DeferredStyleIcon(it->fallback));
}

void useInstalledIconTheme()
{
    // Outside a desktop session Qt falls back to "hicolor", which has almost no action icons.
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor"))
        return;
    for (const QString& base : QIcon::themeSearchPaths())
        if (QFileInfo::exists(base + QLatin1String("/Adwaita/index.theme"))) {
            QIcon::setThemeName(QStringLiteral("Adwaita"));
            return;
        }
}

void loadImageFormatsAhead()
{
    QThreadPool::globalInstance()->start([] {
        // Nothing to read: every plugin is loaded to be asked whether it knows the data.
        QBuffer empty;
        empty.open(QIODevice::ReadOnly);
        QImageReader(&empty).canRead();
    });
}
