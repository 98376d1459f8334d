#pragma once
// Directory listing with POSIX calls. Linux names are bytes; a name Qt cannot round-trip
// (not valid UTF-8) is counted and left out instead of being mangled into another name.
#include <QByteArray>
#include <QString>
#include <functional>
#include <sys/types.h>

namespace DirWalk {

enum class Kind { Regular, Directory, Other };

struct Entry {
    const QString* folder = nullptr;  // "" for the root folder "/"
    QString name;
    QString path() const { return *folder + QLatin1Char('/') + name; }
    Kind kind = Kind::Other;  // of the entry itself; symbolic links are Other
    qint64 size = -1;         // only when asked for (-1: unknown)
};

struct Options {
    bool recursive = false;
    bool skipHidden = true;     // dot names, and everything below a dot folder
    bool skipPackages = false;  // do not descend into package folders (app bundles and the like)
    bool wantSize = false;
};

// True when the bytes survive Qt's decoding and encoding unchanged.
bool roundTrips(const QByteArray& name);
bool roundTrips(const char* name, qsizetype size);
// Folders whose insides are a single document to the user; not descended by a media scan.
bool isPackageName(const QString& name);

struct Result {
    bool opened = false;      // the top folder could be opened
    int skippedNames = 0;     // names left out because they are not valid UTF-8
    int unopenedFolders = 0;  // folders below the top that could not be opened or read through
    QString firstUnopened;    // the first of them, as a full path
};

// Calls `visit` for every entry (directories too), depth first in listing order. A folder is
// read through and closed before the walk goes below it, so a deep tree needs one descriptor,
// not one per level.
Result walk(const QString& folder, const Options& options, const std::function<void(const Entry&)>& visit);

// The same walk handing over the names as the bytes read (all of them round-trip), for callers
// that look at most names only to pass them over: nothing is decoded for them.
struct RawEntry {
    const QByteArray* folder = nullptr;  // encoded; "" for the root folder "/"
    int folderSerial = 0;                // the same for every entry of one folder
    const char* name = nullptr;          // not terminated
    qsizetype nameSize = 0;
    Kind kind = Kind::Other;
    qint64 size = -1;
    qsizetype listed = 0;  // entries of the folder's listing, for reserving room
};
Result walkRaw(const QString& folder, const Options& options, const std::function<void(const RawEntry&)>& visit);

// `folder` + "/" + the name, decoded; `folder` as the walk gives it ("" for the root folder).
QString joinedPath(const QString& folder, const char* name, qsizetype size);

}  // namespace DirWalk

// Status sentence for names left out, in the current interface language; empty for 0.
QString skippedNamesNotice(int count);
// Status sentence for folders a walk could not open, naming the first; empty for 0.
QString unopenedFoldersNotice(int count, const QString& first);
