#include "files/media_drive_scan.h"

#include "files/dir_walk.h"
#include "model/store.h"
#include "platform/lang.h"
#include "platform/natural_sort.h"

#include <QRegularExpression>

const QSet<QString>& mediaExtensions()
{
    static const QSet<QString> set = {"jpg",  "jpeg", "tiff", "tif",     "png",  "heic", "heif", "pdf", "mp4",
                                      "mov",  "m4v",  "mxf",  "mts",     "m2ts", "m2t",  "ts",   "avi", "r3d",
                                      "braw", "ari",  "arx",  "arriraw", "crm",  "rmf",  "cine", "dpx", "exr",
                                      "dng",  "cin",  "ocn",  "x-ocn",   "wav",  "bwf",  "aif",  "aiff"};
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
}  // namespace

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
    return (r3d ? QStringLiteral("R3D|") : QStringLiteral("SEQ|")) + PathText::parent(path) + QLatin1Char('|')
         + m.captured(1) + QLatin1Char('|') + ext;
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
    scan.unopenedFolders = r.unopenedFolders;
    scan.firstUnopened = r.firstUnopened.startsWith(base + QLatin1Char('/')) ? r.firstUnopened.mid(base.size() + 1)
                                                                             : r.firstUnopened;
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
