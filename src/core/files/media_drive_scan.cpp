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

// Extensions as ASCII bytes, for judging names before they are decoded.
const std::unordered_set<std::string_view>& mediaExtensionBytes()
{
    static const std::vector<QByteArray> bytes = [] {
        std::vector<QByteArray> out;
        for (const QString& e : mediaExtensions())
            out.push_back(e.toLatin1());
        return out;
    }();
    static const std::unordered_set<std::string_view> set = [] {
        std::unordered_set<std::string_view> out;
        for (const QByteArray& e : bytes)
            out.insert(std::string_view(e.constData(), size_t(e.size())));
        return out;
    }();
    return set;
}

bool isFrameSequenceExtension(std::string_view lowerExt)
{
    static const std::string_view frameSequence[] = {"dpx", "exr", "ari", "arx", "dng", "cin", "tif", "tiff"};
    return std::find(std::begin(frameSequence), std::end(frameSequence), lowerExt) != std::end(frameSequence);
}

// isMediaName on the bytes of a name that round-trips; most names are passed over without
// being decoded. An extension that is not ASCII is decoded and judged as text; `lowerExt`
// gets an ASCII one in lower case.
bool isMediaName(const char* name, qsizetype size, char (&lowerExt)[9], qsizetype* extSize)
{
    qsizetype dot = size - 1;
    while (dot >= 0 && name[dot] != '.')
        --dot;
    if (dot <= 0)
        return false;
    const qsizetype n = size - dot - 1;
    for (qsizetype i = 0; i < n; ++i)
        if (static_cast<unsigned char>(name[dot + 1 + i]) >= 0x80)
            return isMediaName(QFile::decodeName(QByteArray(name, size)));
    if (n > 8)
        return false;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = name[dot + 1 + i];
        lowerExt[i] = c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
    }
    *extSize = n;
    return mediaExtensionBytes().count(std::string_view(lowerExt, size_t(n))) > 0;
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
    if (!r3d && !isFrameSequenceExtension(ext.toStdString()))
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
        qsizetype extSize;  // 0: not ASCII (or none)
        char lowerExt[9];
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
    // Keys live one after the other in `arena`; a kept file's key is its folder's and its own.
    std::string arena;
    struct Kept {
        int folderKey, folderKeySize, nameKey, nameKeySize;  // in `arena`
        int seq;
        int group, candidate;
    };
    std::vector<Kept> kept;
    kept.reserve(size_t(found.count));
    std::vector<std::pair<qsizetype, qsizetype>> nameKeys;  // offset and size in `arena`
    std::vector<size_t> order;
    std::unordered_set<std::string_view> seen[2];  // by stem base, for R3D spans and other frames
    std::vector<std::string> seenText;
    int collapsed = 0;
    arena.reserve(size_t(found.count) * 24);
    for (const Group& g : found.groups) {
        const int gi = int(&g - found.groups.data());
        if (!g.folder.startsWith(root))
            return false;
        // The folder below the root as it leads into a name: "" or "CARD/DAY1/".
        const qsizetype folderKey = qsizetype(arena.size());
        if (g.folder.size() > root.size()) {
            const QByteArray below = g.folder.mid(root.size() + 1) + '/';
            if (below.contains('|') || !keys.append(arena, below.constData(), below.size()))
                return false;
        }
        const qsizetype folderKeySize = qsizetype(arena.size()) - folderKey;
        nameKeys.resize(g.candidates.size());
        order.resize(g.candidates.size());
        for (size_t i = 0; i < g.candidates.size(); ++i) {
            const Group::Candidate& c = g.candidates[i];
            const char* name = g.names.constData() + c.offset;
            const qsizetype at = qsizetype(arena.size());
            if (std::memchr(name, '|', size_t(c.size)) || !keys.append(arena, name, c.size))
                return false;
            nameKeys[i] = {at, qsizetype(arena.size()) - at};
            order[i] = i;
        }
        const auto view = [&](std::pair<qsizetype, qsizetype> k) {
            return std::string_view(arena.data() + k.first, size_t(k.second));
        };
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            const int byKey = view(nameKeys[a]).compare(view(nameKeys[b]));
            return byKey != 0 ? byKey < 0 : g.candidates[a].seq < g.candidates[b].seq;
        });
        // A sequence never spans folders: the first of each in this folder's order is kept.
        seen[0].clear();
        seen[1].clear();
        seenText.clear();
        seenText.reserve(g.candidates.size());
        for (size_t i : order) {
            const Group::Candidate& c = g.candidates[i];
            const std::string_view ext(c.lowerExt, size_t(c.extSize));
            const bool r3d = ext == "r3d";
            if (c.extSize > 0 && (r3d || isFrameSequenceExtension(ext))) {
                // Only ASCII names reach here: the stem is the name less ".ext".
                const QString stem = QString::fromLatin1(g.names.constData() + c.offset, c.size - c.extSize - 1);
                const qsizetype sequence = sequenceBase(stem);
                if (sequence > 0) {
                    std::string key(g.names.constData() + c.offset, size_t(sequence));
                    key.append(1, '|').append(ext);
                    if (seen[r3d ? 1 : 0].count(key) > 0) {
                        ++collapsed;
                        continue;
                    }
                    seenText.push_back(std::move(key));
                    seen[r3d ? 1 : 0].insert(seenText.back());
                }
            }
            kept.push_back({int(folderKey), int(folderKeySize), int(nameKeys[i].first), int(nameKeys[i].second), c.seq,
                            gi, int(i)});
        }
    }
    // Joined keys compared without being joined.
    const auto less = [&arena](const Kept& a, const Kept& b) {
        const std::string_view af(arena.data() + a.folderKey, size_t(a.folderKeySize));
        const std::string_view bf(arena.data() + b.folderKey, size_t(b.folderKeySize));
        const std::string_view an(arena.data() + a.nameKey, size_t(a.nameKeySize));
        const std::string_view bn(arena.data() + b.nameKey, size_t(b.nameKeySize));
        int byKey;
        if (a.folderKey == b.folderKey) {
            byKey = an.compare(bn);
        } else {
            const size_t common = std::min(af.size(), bf.size());
            byKey = af.substr(0, common).compare(bf.substr(0, common));
            if (byKey == 0) {
                // One folder's key leads into the other's: compare what follows, joined.
                std::string ar(af.substr(common));
                ar.append(an);
                std::string br(bf.substr(common));
                br.append(bn);
                byKey = ar.compare(br);
            }
        }
        return byKey != 0 ? byKey < 0 : a.seq < b.seq;
    };
    std::sort(kept.begin(), kept.end(), less);
    scan.collapsed = collapsed;
    scan.kept.reserve(qsizetype(kept.size()));
    const QString prefix = base == QLatin1String("/") ? QString() : base;
    for (const Kept& k : kept) {
        const Group& g = found.groups[size_t(k.group)];
        const Group::Candidate& c = g.candidates[size_t(k.candidate)];
        const qsizetype below = g.folder.size() - root.size();
        QString path(prefix.size() + below + 1 + c.size, Qt::Uninitialized);
        QChar* out = path.data();
        std::copy(prefix.cbegin(), prefix.cend(), out);
        out += prefix.size();
        for (qsizetype i = 0; i < below; ++i)
            *out++ = QLatin1Char(g.folder[root.size() + i]);
        *out++ = QLatin1Char('/');
        for (qsizetype i = 0; i < c.size; ++i)
            *out++ = QLatin1Char(g.names[c.offset + i]);
        scan.kept << std::move(path);
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
    const DirWalk::Result r = DirWalk::walkRaw(base, options, [&](const DirWalk::RawEntry& e) {
        Group::Candidate c{found.count, 0, e.nameSize, 0, {}};
        if (e.kind != DirWalk::Kind::Regular || !isMediaName(e.name, e.nameSize, c.lowerExt, &c.extSize))
            return;
        if (size_t(e.folderSerial) >= groupOfFolder.size())
            groupOfFolder.resize(size_t(e.folderSerial) + 1, -1);
        int& at = groupOfFolder[size_t(e.folderSerial)];
        if (at < 0) {
            at = int(found.groups.size());
            found.groups.push_back({*e.folder, {}, {}});
        }
        Group& g = found.groups[size_t(at)];
        c.offset = g.names.size();
        ++found.count;
        g.candidates.push_back(c);
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
