#pragma once
// Scan of a camera or media drive: every media file of the tree in the file manager's order,
// with the frames of an image sequence and the spans of a camera clip collapsed into the first.
#include <QSet>
#include <QString>
#include <QStringList>

const QSet<QString>& mediaExtensions();

struct MediaDriveScan {
    bool opened = false;      // false: the root could not be enumerated
    QStringList kept;         // paths, one per clip, sorted
    int collapsed = 0;        // frames and spans dropped in favour of their clip's first file
    int skippedNames = 0;     // names that are not valid UTF-8
    int unopenedFolders = 0;  // folders inside that could not be opened (permissions, descriptors)
    QString firstUnopened;    // the first of them, relative to the root
};

MediaDriveScan scanMediaDrive(const QString& root);
// The collapse key of one path ("SEQ|folder|base|ext"), or empty when it never collapses.
QString collapseKey(const QString& path);
