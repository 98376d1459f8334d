#include "files/watch_scan.h"

#include "files/dir_walk.h"
#include "model/file_item.h"

QList<WatchScanEntry> listFolderFiles(const QString& folder, bool recursive)
{
    QList<WatchScanEntry> out;
    DirWalk::Options options;
    options.recursive = recursive;
    options.wantSize = true;
    DirWalk::walk(PathText::standardized(folder), options, [&](const DirWalk::Entry& e) {
        if (e.kind == DirWalk::Kind::Regular)
            out << WatchScanEntry{e.path(), qMax<qint64>(e.size, 0)};
    });
    return out;
}
