#include "files/media_drive_scan.h"

#include "files/dir_walk.h"
#include "model/store.h"
#include "platform/lang.h"
#include "platform/natural_sort.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

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

bool isFrameSequenceExtension(QStringView lowerExt)
{
    static const QSet<QString> frameSequence = {"dpx", "exr", "ari", "arx", "dng", "cin", "tif", "tiff"};
    return frameSequence.contains(lowerExt.toString());
}

// isMediaName on the bytes of a name that round-trips; most names are passed over without
// being decoded. An extension that is not ASCII is decoded and judged as text.
bool isMediaName(const char* name, qsizetype size, QString* lowerExt)
{
    qsizetype dot = size - 1;
    while (dot >= 0 && name[dot] != '.')
        --dot;
    if (dot <= 0)
        return false;
    char lower[9];
    const qsizetype extSize = size - dot - 1;
    for (qsizetype i = 0; i < extSize; ++i)
        if (static_cast<unsigned char>(name[dot + 1 + i]) >= 0x80)
            return isMediaName(QFile::decodeName(QByteArray(name, size)));
    if (extSize > 8)
        return false;
    for (qsizetype i = 0; i < extSize; ++i) {
        const char c = name[dot + 1 + i];
        lower[i] = c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
    }
    *lowerExt = QString::fromLatin1(lower, extSize);
    return mediaExtensions().contains(*lowerExt);
}

// The length of the name part a frame or span number follows ("shot" of "shot_0001"), 0 when the
// stem does not end in at least three digits after something else. One separator before the
// digits is not part of it. Unicode digits count, as in the platform engine the naming came
// from; only stems that are not ASCII need the expression for them.
qsizetype sequenceBase(const QString& stem)
{
    for (QChar c : stem)
        if (c.unicode() >= 0x80) {
            static const QRegularExpression frameNumber(QStringLiteral("^(.*?)[._-]?\\d{3,}$"),
                                                        QRegularExpression::UseUnicodePropertiesOption);
            const QRegularExpressionMatch m = frameNumber.match(stem);
            return m.hasMatch() ? m.capturedLength(1) : 0;
        }
    qsizetype digits = stem.size();
    while (digits > 0 && stem[digits - 1].unicode() - u'0' < 10)
        --digits;
    if (stem.size() - digits < 3)
        return 0;
    if (digits > 0 && (stem[digits - 1] == u'.' || stem[digits - 1] == u'_' || stem[digits - 1] == u'-'))
        --digits;
    return digits;
}

}  // namespace

QString collapseKey(const QString& path)
{
    const QString name = PathText::lastComponent(path);
    const QString ext = PathText::extension(name).toLower();
    const bool r3d = ext == QLatin1String("r3d");
    if (!r3d && !isFrameSequenceExtension(ext))
        return {};
    const QString stem = PathText::withoutExtension(name);
    const qsizetype base = sequenceBase(stem);
    if (base == 0)
        return {};
    return (r3d ? QStringLiteral("R3D|") : QStringLiteral("SEQ|")) + PathText::parent(path) + QLatin1Char('|')
         + stem.left(base) + QLatin1Char('|') + ext;
}

namespace {

// The media files found in one folder.
struct Group {
    QByteArray folder;  // encoded, as the walk gave it
    QByteArray names;   // the names, one after the other
    struct Candidate {
        int seq;  // position in the walk: the order among equal names
        qsizetype offset;
        qsizetype size;
        QString lowerExt;  // empty: not ASCII
    };
    std::vector<Candidate> candidates;
};

struct Found {
    std::vector<Group> groups;
    int count = 0;
};

QString pathOf(const Group& g, const Group::Candidate& c)
{
    return QFile::decodeName(g.folder + '/' + QByteArray::fromRawData(g.names.constData() + c.offset, c.size));
}

// The scan as the collator orders it: every path sorted, then the first of each sequence kept.
void keepInCollatorOrder(const Found& found, MediaDriveScan& scan)
{
    std::vector<std::pair<int, QString>> walked;
    walked.reserve(size_t(found.count));
    for (const Group& g : found.groups)
        for (const Group::Candidate& c : g.candidates)
            walked.emplace_back(c.seq, pathOf(g, c));
    std::sort(walked.begin(), walked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList candidates;
    candidates.reserve(qsizetype(walked.size()));
    for (auto& w : walked)
        candidates << std::move(w.second);
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
}

// The same result from byte keys, when every path below the root is printable ASCII (and
// without "|", which the collapse key joins its parts with). A sequence never spans folders,
// so each folder is sorted and collapsed alone and only the kept files are sorted together:
// a path's key is its folder's key followed by its name's, as a "/" ends a run of digits.
bool keepInKeyOrder(const Found& found, const QString& base, MediaDriveScan& scan)
{
    const NaturalAsciiKeys keys;
    if (!keys.usable())
        return false;
    const QByteArray root = base == QLatin1String("/") ? QByteArray() : QFile::encodeName(base);
    struct Kept {
        std::string key;
        int seq;
        const Group* group;
        const Group::Candidate* candidate;
    };
    std::vector<Kept> kept;
    std::vector<std::string> nameKeys;
    std::vector<size_t> order;
    std::unordered_set<std::string> seen;
    std::string folderKey;
    int collapsed = 0;
    for (const Group& g : found.groups) {
        if (!g.folder.startsWith(root))
            return false;
        const qsizetype relative = root.size() + 1;  // past the root and its "/"
        folderKey.clear();
        if (g.folder.size() > root.size()) {
            const QByteArray below = g.folder.mid(relative) + '/';
            if (below.contains('|') || !keys.append(folderKey, below.constData(), below.size()))
                return false;
        }
        nameKeys.assign(g.candidates.size(), {});
        order.resize(g.candidates.size());
        for (size_t i = 0; i < g.candidates.size(); ++i) {
            const Group::Candidate& c = g.candidates[i];
            const char* name = g.names.constData() + c.offset;
            if (std::memchr(name, '|', size_t(c.size)) || !keys.append(nameKeys[i], name, c.size))
                return false;
            order[i] = i;
        }
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            const int byKey = nameKeys[a].compare(nameKeys[b]);
            return byKey != 0 ? byKey < 0 : g.candidates[a].seq < g.candidates[b].seq;
        });
        seen.clear();
        for (size_t i : order) {
            const Group::Candidate& c = g.candidates[i];
            const QString& ext = c.lowerExt;
            if (ext == QLatin1String("r3d") || isFrameSequenceExtension(ext)) {
                // Only ASCII names reach here: the stem is the name less ".ext".
                const QString stem = QString::fromLatin1(g.names.constData() + c.offset, c.size - ext.size() - 1);
                const qsizetype sequence = sequenceBase(stem);
                if (sequence > 0
                    && !seen.insert(std::string(g.names.constData() + c.offset, size_t(sequence)) + '|'
                                    + ext.toStdString())
                            .second) {
                    ++collapsed;
                    continue;
                }
            }
            kept.push_back({folderKey + nameKeys[i], c.seq, &g, &c});
        }
    }
    std::sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) {
        const int byKey = a.key.compare(b.key);
        return byKey != 0 ? byKey < 0 : a.seq < b.seq;
    });
    scan.collapsed = collapsed;
    scan.kept.reserve(qsizetype(kept.size()));
    const Group* lastGroup = nullptr;
    QString folderText;
    for (const Kept& k : kept) {
        if (k.group != lastGroup) {
            lastGroup = k.group;
            folderText = (base == QLatin1String("/") ? QString() : base)
                       + QString::fromLatin1(k.group->folder.mid(root.size())) + QLatin1Char('/');
        }
        scan.kept << folderText + QLatin1String(k.group->names.constData() + k.candidate->offset, k.candidate->size);
    }
    return true;
}

}  // namespace

MediaDriveScan scanMediaDrive(const QString& root)
{
    MediaDriveScan scan;
    DirWalk::Options options;
    options.recursive = true;
    options.skipPackages = true;
    const QString base = PathText::standardized(root);
    Found found;
    std::vector<int> groupOfFolder;  // by the walk's folder serial; -1: none yet
    QString lowerExt;
    const DirWalk::Result r = DirWalk::walkRaw(base, options, [&](const DirWalk::RawEntry& e) {
        lowerExt.clear();
        if (e.kind != DirWalk::Kind::Regular || !isMediaName(e.name, e.nameSize, &lowerExt))
            return;
        if (size_t(e.folderSerial) >= groupOfFolder.size())
            groupOfFolder.resize(size_t(e.folderSerial) + 1, -1);
        int& at = groupOfFolder[size_t(e.folderSerial)];
        if (at < 0) {
            at = int(found.groups.size());
            found.groups.push_back({*e.folder, {}, {}});
        }
        Group& g = found.groups[size_t(at)];
        g.candidates.push_back({found.count++, g.names.size(), e.nameSize, lowerExt});
        g.names.append(e.name, e.nameSize);
    });
    scan.opened = r.opened;
    scan.skippedNames = r.skippedNames;
    scan.unopenedFolders = r.unopenedFolders;
    scan.firstUnopened = r.firstUnopened.startsWith(base + QLatin1Char('/')) ? r.firstUnopened.mid(base.size() + 1)
                                                                             : r.firstUnopened;
    if (!keepInKeyOrder(found, base, scan)) {
        scan.kept.clear();
        scan.collapsed = 0;
        keepInCollatorOrder(found, scan);
    }
    return scan;
}
