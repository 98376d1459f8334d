#include "files/media_drive_scan.h"

#include "files/dir_walk.h"
#include "platform/natural_sort.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QRegularExpression>

const QSet<QString>& mediaExtensions()
{
    static const QSet<QString> set = {
        "jpg", "jpeg", "tiff", "tif", "png", "heic", "heif", "pdf", "mp4", "mov", "m4v", "mxf",
        "mts", "m2ts", "m2t", "ts", "avi", "r3d", "braw", "ari", "arx", "arriraw", "crm", "rmf",
        "cine", "dpx", "exr", "dng", "cin", "ocn", "x-ocn", "wav", "bwf", "aif", "aiff"};
    return set;
}

namespace {
bool isMediaName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || name.size() - dot > 9)  // no media extension is longer than 8 letters
        return false;
    return mediaExtensions().contains(QStringView(name).mid(dot + 1).toString().toLower());
}
} // namespace

QString collapseKey(const QString& path)
{
    static const QSet<QString> frameSequence = {"dpx", "exr", "ari", "arx", "dng", "cin", "tif", "tiff"};
    // Unicode digits count, as in the platform engine the naming came from.
    static const QRegularExpression frameNumber(QStringLiteral("^(.*?)[._-]?\\d{3,}$"),
                                                QRegularExpression::UseUnicodePropertiesOption);
    const QString name = PathText::lastComponent(path);
    const QString ext = PathText::extension(name).toLower();
    const bool r3d = ext == QLatin1String("r3d");
    if (!r3d && !frameSequence.contains(ext))
        return {};
    const QRegularExpressionMatch m = frameNumber.match(PathText::withoutExtension(name));
    if (!m.hasMatch() || m.capturedLength(1) == 0)
        return {};
    return (r3d ? QStringLiteral("R3D|") : QStringLiteral("SEQ|")) + PathText::parent(path)
        + QLatin1Char('|') + m.captured(1) + QLatin1Char('|') + ext;
}

MediaDriveScan scanMediaDrive(const QString& root)
{
    MediaDriveScan scan;
    QStringList candidates;
    DirWalk::Options options;
    options.recursive = true;
    options.skipPackages = true;
    const QString base = PathText::standardized(root);
    const DirWalk::Result r = DirWalk::walk(base, options, [&](const DirWalk::Entry& e) {
        if (e.kind == DirWalk::Kind::Regular && isMediaName(e.name))
            candidates << e.path();
    });
    scan.opened = r.opened;
    scan.skippedNames = r.skippedNames;
    QSet<QString> seenKeys;
    for (int at : naturalOrder(candidates)) {
        const QString& path = candidates[at];
        const QString key = collapseKey(path);
        if (!key.isEmpty()) {
            if (seenKeys.contains(key)) {
                ++scan.collapsed;
                continue;
            }
            seenKeys.insert(key);
        }
        scan.kept << path;
    }
    return scan;
}

void Store::loadMediaDrive(const QString& root)
{
    ensureScopedAccess(root);
    const MediaDriveScan scan = scanMediaDrive(root);
    if (!scan.opened)
        return;
    QSet<QString> listed;
    for (const FileItem& i : m_items)
        listed.insert(i.url);
    QList<FileItem> next = m_items;
    int added = 0;
    for (const QString& path : scan.kept) {
        if (listed.contains(path))
            continue;
        listed.insert(path);
        next << FileItem::file(path);
        ++added;
    }
    setItems(std::move(next));
    const QString drive = PathText::lastComponent(PathText::standardized(root));
    QString report;
    if (Lang::zh()) {
        report = QStringLiteral("媒体盘:从「%1」载入 %2 个片段").arg(drive, QString::number(added));
        if (scan.collapsed > 0)
            report += QStringLiteral("(合并 %1 个序列/分卷帧)").arg(scan.collapsed);
        report += QStringLiteral("。");
    } else {
        report = QStringLiteral("Media Drive: loaded %1 clip(s) from “%2”").arg(QString::number(added), drive);
        if (scan.collapsed > 0)
            report += QStringLiteral(" (%1 sequence/span frames collapsed)").arg(scan.collapsed);
        report += QLatin1Char('.');
    }
    if (scan.skippedNames > 0)
        report += QLatin1Char(' ') + skippedNamesNotice(scan.skippedNames);
    setStatus(report);
}
