#include "files/media_drive_scan.h"

#include "files/dir_walk.h"
#include "model/store.h"
#include "platform/lang.h"
#include "platform/natural_sort.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
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

// The extension of a name whose extension is ASCII, in lower case in `buffer`; empty when it
// has none or one longer than any media extension.
std::string_view asciiLowerExtension(std::string_view name, char (&buffer)[9])
{
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot - 1 > sizeof buffer - 1)
        return {};
    const size_t n = name.size() - dot - 1;
    for (size_t i = 0; i < n; ++i) {
        const char c = name[dot + 1 + i];
        buffer[i] = c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
    }
    return {buffer, n};
}

// isMediaName on the bytes of a name that round-trips; most names are passed over without
// being decoded. An extension that is not ASCII is decoded and judged as text.
bool isMediaName(const char* name, qsizetype size)
{
    const std::string_view bytes(name, size_t(size));
    const size_t dot = bytes.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return false;
    for (size_t i = dot + 1; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return isMediaName(QFile::decodeName(QByteArray(name, size)));
    char buffer[9];
    const std::string_view ext = asciiLowerExtension(bytes, buffer);
    return !ext.empty() && mediaExtensionBytes().count(ext) > 0;
}

// The length of the name part a frame or span number follows ("shot" of "shot_0001"), 0 when the
// stem does not end in at least three digits after something else. One separator before the
// digits is not part of it: what "^(.*?)[._-]?\\d{3,}$" captures first, for ASCII stems.
template <typename Char> qsizetype asciiSequenceBase(const Char* stem, qsizetype size)
{
    qsizetype digits = size;
    while (digits > 0 && unsigned(stem[digits - 1]) - '0' < 10)
        --digits;
    if (size - digits < 3)
        return 0;
    if (digits > 0 && (stem[digits - 1] == '.' || stem[digits - 1] == '_' || stem[digits - 1] == '-'))
        --digits;
    return digits;
}

// Unicode digits count too, as in the platform engine the naming came from; only stems that
// are not ASCII need the expression for them.
qsizetype sequenceBase(const QString& stem)
{
    for (QChar c : stem)
        if (c.unicode() >= 0x80) {
            static const QRegularExpression frameNumber(QStringLiteral("^(.*?)[._-]?\\d{3,}$"),
                                                        QRegularExpression::UseUnicodePropertiesOption);
            const QRegularExpressionMatch m = frameNumber.match(stem);
            return m.hasMatch() ? m.capturedLength(1) : 0;
        }
    return asciiSequenceBase(stem.utf16(), stem.size());
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

// A media file the walk found; its name lives in Found::names.
struct Candidate {
    int folder;  // in Found::folders
    int size;
    qsizetype offset;
};

// The media files of a tree in walk order: the order among names that compare equal. Kept in
// lists that grow in place, not by copying.
struct Found {
    struct Folder {
        QByteArray path;  // encoded, as the walk gave it
        int first = 0;    // its candidates are byFolder[first, first + count)
        int count = 0;
    };
    std::vector<Folder> folders;
    QList<Candidate> candidates;
    QByteArray names;
    std::string_view name(const Candidate& c) const { return {names.constData() + c.offset, size_t(c.size)}; }
};

// The scan as the collator orders it: every path sorted, then the first of each sequence kept.
void keepInCollatorOrder(const Found& found, MediaDriveScan& scan)
{
    QStringList candidates;
    candidates.reserve(qsizetype(found.candidates.size()));
    for (const Candidate& c : found.candidates) {
        const std::string_view name = found.name(c);
        candidates << QFile::decodeName(found.folders[size_t(c.folder)].path + '/'
                                        + QByteArray::fromRawData(name.data(), qsizetype(name.size())));
    }
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

// A sequence's collapse key within one folder: the name before the frame number, and the
// extension in lower case.
struct SequenceKey {
    std::string_view base, ext;
    bool operator==(const SequenceKey&) const = default;
};
struct SequenceKeyHash {
    size_t operator()(const SequenceKey& k) const
    {
        const std::hash<std::string_view> h;
        return h(k.base) * 31 + h(k.ext);
    }
};

// The byte-key order, built folder by folder. Keys live one after the other in `arena`.
class KeyOrder {
public:
    KeyOrder(const Found& found, const QByteArray& root) : m_found(found), m_root(root)
    {
        m_arena.reserve(found.names.size() * 2 + found.folders.size() * 16);
        m_kept.reserve(found.candidates.size());
    }
    bool usable() const { return m_keys.usable(); }
    bool addFolder(int folder, const std::vector<int>& byFolder);
    // The kept files of all folders (candidate indices), in order.
    std::vector<int> keptInOrder() const;
    int collapsed() const { return m_collapsed; }

private:
    struct Kept {
        int candidate;
        int nameKey, nameKeySize;  // in `m_arena`
    };
    struct FolderKey {
        int key = 0, size = 0;        // in `m_arena`
        int firstKept = 0, kept = 0;  // in `m_kept`
    };
    std::string_view key(int at, int size) const { return {m_arena.data() + at, size_t(size)}; }
    std::string_view folderKey(int folder) const
    {
        return key(m_folderKeys[size_t(folder)].key, m_folderKeys[size_t(folder)].size);
    }
    bool less(const Kept& a, const Kept& b) const;

    const Found& m_found;
    const QByteArray& m_root;
    const NaturalAsciiKeys m_keys;
    std::string m_arena;
    std::vector<Kept> m_kept;
    std::vector<FolderKey> m_folderKeys;
    std::vector<Kept> m_scratch;
    std::unordered_set<SequenceKey, SequenceKeyHash> m_seen[2];  // for R3D spans and other frames
    int m_collapsed = 0;
};

// Sorts the folder's candidates by key and keeps the first of each sequence. A sequence never
// spans folders, so each folder is collapsed alone.
bool KeyOrder::addFolder(int folder, const std::vector<int>& byFolder)
{
    const Found::Folder& f = m_found.folders[size_t(folder)];
    if (!f.path.startsWith(m_root))
        return false;
    // The folder below the root as it leads into a name: "" or "CARD/DAY1/". Printable ASCII
    // without "|", which the collapse key joins its parts with.
    FolderKey fk;
    fk.key = int(m_arena.size());
    if (f.path.size() > m_root.size()) {
        const QByteArray below = f.path.mid(m_root.size() + 1) + '/';
        if (below.contains('|') || !m_keys.append(m_arena, below.constData(), below.size()))
            return false;
    }
    fk.size = int(m_arena.size()) - fk.key;
    m_scratch.clear();
    for (int i = f.first; i < f.first + f.count; ++i) {
        const int c = byFolder[size_t(i)];
        const std::string_view name = m_found.name(m_found.candidates[c]);
        const int at = int(m_arena.size());
        if (name.find('|') != std::string_view::npos || !m_keys.append(m_arena, name.data(), qsizetype(name.size())))
            return false;
        m_scratch.push_back({c, at, int(m_arena.size()) - at});
    }
    std::sort(m_scratch.begin(), m_scratch.end(), [this](const Kept& a, const Kept& b) {
        const int byKey = key(a.nameKey, a.nameKeySize).compare(key(b.nameKey, b.nameKeySize));
        return byKey != 0 ? byKey < 0 : a.candidate < b.candidate;
    });
    fk.firstKept = int(m_kept.size());
    m_seen[0].clear();
    m_seen[1].clear();
    for (const Kept& k : m_scratch) {
        // Only ASCII names reach here: the stem is the name less ".ext".
        const std::string_view name = m_found.name(m_found.candidates[k.candidate]);
        char buffer[9];
        const std::string_view ext = asciiLowerExtension(name, buffer);
        const bool r3d = ext == "r3d";
        if (r3d || isFrameSequenceExtension(ext)) {
            const qsizetype sequence = asciiSequenceBase(name.data(), qsizetype(name.size() - ext.size() - 1));
            if (sequence > 0 && !m_seen[r3d ? 1 : 0].insert({name.substr(0, size_t(sequence)), ext}).second) {
                ++m_collapsed;
                continue;
            }
        }
        m_kept.push_back(k);
    }
    fk.kept = int(m_kept.size()) - fk.firstKept;
    if (m_folderKeys.size() <= size_t(folder))
        m_folderKeys.resize(size_t(folder) + 1);
    m_folderKeys[size_t(folder)] = fk;
    return true;
}

// A path's key is its folder's key followed by its name's (a "/" ends a run of digits); joined
// keys are compared without being joined.
bool KeyOrder::less(const Kept& a, const Kept& b) const
{
    const int fa = m_found.candidates[a.candidate].folder;
    const int fb = m_found.candidates[b.candidate].folder;
    const std::string_view an = key(a.nameKey, a.nameKeySize), bn = key(b.nameKey, b.nameKeySize);
    int byKey;
    if (fa == fb) {
        byKey = an.compare(bn);
    } else {
        const std::string_view af = folderKey(fa), bf = folderKey(fb);
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
    return byKey != 0 ? byKey < 0 : a.candidate < b.candidate;
}

// Folders sorted by key fall into families: a folder and those whose keys its key leads into.
// Two paths of different families compare as their families do, so only within a family of
// several folders (a folder with files and folders with files below it) are paths sorted
// together; a folder alone keeps its own order.
std::vector<int> KeyOrder::keptInOrder() const
{
    std::vector<int> folders;
    for (size_t f = 0; f < m_folderKeys.size(); ++f)
        if (m_folderKeys[f].kept > 0)
            folders.push_back(int(f));
    std::stable_sort(folders.begin(), folders.end(), [this](int a, int b) { return folderKey(a) < folderKey(b); });
    std::vector<int> out;
    out.reserve(m_kept.size());
    std::vector<Kept> family;
    for (size_t i = 0; i < folders.size();) {
        const std::string_view root = folderKey(folders[i]);
        size_t end = i + 1;
        while (end < folders.size() && folderKey(folders[end]).starts_with(root))
            ++end;
        family.clear();
        for (size_t k = i; k < end; ++k) {
            const FolderKey& fk = m_folderKeys[size_t(folders[k])];
            family.insert(family.end(), m_kept.begin() + fk.firstKept, m_kept.begin() + fk.firstKept + fk.kept);
        }
        if (end - i > 1)
            std::sort(family.begin(), family.end(), [this](const Kept& a, const Kept& b) { return less(a, b); });
        for (const Kept& k : family)
            out.push_back(k.candidate);
        i = end;
    }
    return out;
}

// The same result from byte keys, when every path below the root is printable ASCII (and
// without "|"). False when it cannot be had that way.
bool keepInKeyOrder(const Found& found, const QString& base, MediaDriveScan& scan)
{
    const QByteArray root = base == QLatin1String("/") ? QByteArray() : QFile::encodeName(base);
    KeyOrder order(found, root);
    if (!order.usable())
        return false;
    // The candidates folder by folder, each folder's in walk order.
    std::vector<int> byFolder(size_t(found.candidates.size()));
    {
        std::vector<int> next(found.folders.size());
        for (size_t f = 0; f < found.folders.size(); ++f)
            next[f] = found.folders[f].first;
        for (qsizetype c = 0; c < found.candidates.size(); ++c)
            byFolder[size_t(next[size_t(found.candidates[c].folder)]++)] = int(c);
    }
    for (size_t f = 0; f < found.folders.size(); ++f)
        if (!order.addFolder(int(f), byFolder))
            return false;
    const std::vector<int> kept = order.keptInOrder();
    scan.collapsed = order.collapsed();
    scan.kept.reserve(qsizetype(kept.size()));
    // Each folder's path is decoded once (it is ASCII); the paths are built from it.
    std::vector<QString> folderText(found.folders.size());
    const QString prefix = base == QLatin1String("/") ? QString() : base;
    for (int at : kept) {
        const Candidate& c = found.candidates[at];
        QString& folder = folderText[size_t(c.folder)];
        if (folder.isNull()) {
            const QByteArray& path = found.folders[size_t(c.folder)].path;
            folder = prefix + QLatin1String(path.constData() + root.size(), path.size() - root.size());
        }
        const std::string_view name = found.name(c);
        scan.kept << DirWalk::joinedPath(folder, name.data(), qsizetype(name.size()));
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
    std::vector<int> folderOfSerial;  // by the walk's folder serial; -1: none yet
    const DirWalk::Result r = DirWalk::walkRaw(base, options, [&](const DirWalk::RawEntry& e) {
        if (e.kind != DirWalk::Kind::Regular || !isMediaName(e.name, e.nameSize))
            return;
        if (size_t(e.folderSerial) >= folderOfSerial.size())
            folderOfSerial.resize(size_t(e.folderSerial) + 1, -1);
        int& at = folderOfSerial[size_t(e.folderSerial)];
        if (at < 0) {
            at = int(found.folders.size());
            found.folders.push_back({*e.folder, 0, 0});
        }
        found.candidates.append({at, int(e.nameSize), found.names.size()});
        found.names.append(e.name, e.nameSize);
        ++found.folders[size_t(at)].count;
    });
    int first = 0;
    for (Found::Folder& f : found.folders) {
        f.first = first;
        first += f.count;
    }
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
