#include "dir_walk.h"

#include "platform/lang.h"

#include <QFile>
#include <QList>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DirWalk {

bool roundTrips(const char* name, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(name[i]) >= 0x80) {
            const QByteArray bytes = QByteArray::fromRawData(name, size);
            return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
        }
    return true;
}

bool roundTrips(const QByteArray& name)
{
    return roundTrips(name.constData(), name.size());
}

namespace {

// Extensions of folders that are bundles elsewhere; the walk does not go into them.
constexpr const char* kPackageExtensions[] = {"app", "bundle", "framework", "plugin", "fcpbundle", "photoslibrary"};

}  // namespace

bool isPackageName(const QString& name)
{
    static const QSet<QString> packages = [] {
        QSet<QString> set;
        for (const char* p : kPackageExtensions)
            set.insert(QLatin1String(p));
        return set;
    }();
    const qsizetype dot = name.lastIndexOf('.');
    return dot > 0 && packages.contains(name.mid(dot + 1).toLower());
}

namespace {

// isPackageName on the bytes of a name that round-trips, decoding only an extension that is
// not ASCII.
bool isPackageName(const char* name, qsizetype size)
{
    qsizetype dot = size - 1;
    while (dot >= 0 && name[dot] != '.')
        --dot;
    if (dot <= 0)
        return false;
    const qsizetype extSize = size - dot - 1;
    char lower[16];
    if (extSize >= qsizetype(sizeof lower))
        return false;  // longer than every package extension, in any spelling
    for (qsizetype i = 0; i < extSize; ++i) {
        const auto c = static_cast<unsigned char>(name[dot + 1 + i]);
        if (c >= 0x80)
            return DirWalk::isPackageName(QFile::decodeName(QByteArray(name, size)));
        lower[i] = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    for (const char* p : kPackageExtensions)
        if (qsizetype(std::strlen(p)) == extSize && std::memcmp(p, lower, size_t(extSize)) == 0)
            return true;
    return false;
}

Kind kindOf(const struct stat& st)
{
    if (S_ISREG(st.st_mode))
        return Kind::Regular;
    if (S_ISDIR(st.st_mode))
        return Kind::Directory;
    return Kind::Other;
}

// An entry read from a folder, waiting for its turn to be visited; its name lives in the
// folder's `names`.
struct Listed {
    qsizetype offset = 0;
    qint64 bytes = -1;
    int size = 0;
    Kind kind = Kind::Other;
};

struct Folder {
    QByteArray path;  // encoded; "" for the root folder "/"
    QString text;     // decoded, kept only for the decoding walk
    int serial = 0;
    QByteArray names;
    QList<Listed> entries;  // grows in place: a folder of 100,000 files is not copied as it is read
    qsizetype next = 0;
};

struct Walker {
    const Options& options;
    bool wantText = false;
    Result result;
    int serials = 0;
    std::vector<char> buffer;

    // Reads the whole folder and closes it (takes ownership of fd). False when reading failed
    // part-way; what was read is kept.
    bool read(int fd, Folder& out)
    {
        // Straight from the kernel into one buffer kept for the whole walk: no directory
        // stream to allocate and free for each of thousands of folders.
        if (buffer.empty())
            buffer.resize(64 * 1024);
        bool ok = true;
        for (;;) {
            const ssize_t got = ::getdents64(fd, buffer.data(), buffer.size());
            if (got <= 0) {
                ok = got == 0;
                break;
            }
            // Room for this batch at once (records are larger than their names), growing by
            // doubling so a huge folder read in many batches is not copied each time.
            const qsizetype names = out.names.size() + got / 2;
            if (out.names.capacity() < names)
                out.names.reserve(std::max(names, 2 * out.names.capacity()));
            const qsizetype entries = out.entries.size() + got / 24;
            if (out.entries.capacity() < entries)
                out.entries.reserve(std::max(entries, 2 * out.entries.capacity()));
            for (ssize_t at = 0; at < got;) {
                const auto* d = reinterpret_cast<const struct dirent64*>(buffer.data() + at);
                at += d->d_reclen;
                take(fd, d->d_name, d->d_type, out);
            }
        }
        ::close(fd);
        return ok;
    }

    void take(int fd, const char* raw, unsigned char type, Folder& out)
    {
        if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
            return;
        if (options.skipHidden && raw[0] == '.')
            return;
        const qsizetype size = qsizetype(std::strlen(raw));
        if (!roundTrips(raw, size)) {
            ++result.skippedNames;
            return;
        }
        Listed e;
        struct stat st {};
        bool statted = false;
        switch (type) {
        case DT_REG: e.kind = Kind::Regular; break;
        case DT_DIR: e.kind = Kind::Directory; break;
        case DT_UNKNOWN:
            if (::fstatat(fd, raw, &st, AT_SYMLINK_NOFOLLOW) != 0)
                return;  // vanished or unreadable: passed over
            statted = true;
            e.kind = kindOf(st);
            break;
        default: e.kind = Kind::Other; break;
        }
        if (options.wantSize && e.kind == Kind::Regular) {
            if (statted || ::fstatat(fd, raw, &st, AT_SYMLINK_NOFOLLOW) == 0)
                e.bytes = st.st_size;
        }
        e.offset = out.names.size();
        e.size = int(size);
        out.names.append(raw, size);
        out.entries.push_back(e);
    }

    void unopened(const Folder& f)
    {
        if (result.unopenedFolders++ == 0)
            result.firstUnopened = f.path.isEmpty() ? QStringLiteral("/")
                                 : wantText         ? f.text
                                                    : QFile::decodeName(f.path);
    }

    void walk(int rootFd, const QString& rootText, const std::function<void(const RawEntry&, const Folder&)>& visit)
    {
        std::vector<Folder> stack(1);
        stack[0].text = rootText;
        stack[0].path = QFile::encodeName(rootText);
        stack[0].serial = ++serials;
        if (!read(rootFd, stack[0]))
            unopened(stack[0]);
        while (!stack.empty()) {
            Folder& top = stack.back();
            if (top.next >= top.entries.size()) {
                stack.pop_back();
                continue;
            }
            const Listed listed = top.entries[top.next++];
            RawEntry e;
            e.folder = &top.path;
            e.folderSerial = top.serial;
            e.name = top.names.constData() + listed.offset;
            e.nameSize = listed.size;
            e.kind = listed.kind;
            e.size = listed.bytes;
            e.listed = qsizetype(top.entries.size());
            visit(e, top);
            if (e.kind != Kind::Directory || !options.recursive
                || (options.skipPackages && isPackageName(e.name, e.nameSize)))
                continue;
            Folder below;
            below.path.reserve(top.path.size() + 1 + e.nameSize);
            below.path.append(top.path).append('/').append(e.name, e.nameSize);
            if (wantText)
                below.text = top.text + QLatin1Char('/') + QFile::decodeName(QByteArray(e.name, e.nameSize));
            below.serial = ++serials;
            const int fd = ::open(below.path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0) {
                if (errno != ENOENT)  // gone since it was listed: nothing to report
                    unopened(below);
                continue;
            }
            if (!read(fd, below))
                unopened(below);
            stack.push_back(std::move(below));  // `top` and `e` are not used past this point
        }
    }
};

Result walkWith(const QString& folder, const Options& options, bool wantText,
                const std::function<void(const RawEntry&, const Folder&)>& visit)
{
    Walker w{options, wantText, {}, 0, {}};
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return w.result;
    w.result.opened = true;
    QString base = folder;
    while (base.size() > 1 && base.endsWith('/'))
        base.chop(1);
    if (base == QLatin1String("/"))
        base.clear();
    w.walk(fd, base, visit);
    return w.result;
}

QString decodedName(const char* name, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(name[i]) >= 0x80)
            return QFile::decodeName(QByteArray(name, size));
    return QString::fromLatin1(name, size);
}

}  // namespace

QString joinedPath(const QString& folder, const char* name, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(name[i]) >= 0x80)
            return folder + QLatin1Char('/') + QFile::decodeName(QByteArray(name, size));
    // The usual ASCII name: one allocation, no decoding.
    QString path(folder.size() + 1 + size, Qt::Uninitialized);
    QChar* out = std::copy(folder.cbegin(), folder.cend(), path.data());
    *out++ = QLatin1Char('/');
    for (qsizetype i = 0; i < size; ++i)
        *out++ = QLatin1Char(name[i]);
    return path;
}

Result walk(const QString& folder, const Options& options, const std::function<void(const Entry&)>& visit)
{
    return walkWith(folder, options, true, [&](const RawEntry& raw, const Folder& in) {
        Entry e;
        e.folder = &in.text;
        e.name = decodedName(raw.name, raw.nameSize);
        e.kind = raw.kind;
        e.size = raw.size;
        visit(e);
    });
}

Result walkRaw(const QString& folder, const Options& options, const std::function<void(const RawEntry&)>& visit)
{
    return walkWith(folder, options, false, [&](const RawEntry& raw, const Folder&) { visit(raw); });
}

}  // namespace DirWalk

QString skippedNamesNotice(int count)
{
    if (count <= 0)
        return {};
    return L("Skipped %1 name(s) that are not valid UTF-8.", "已跳过 %1 个不是有效 UTF-8 的名称。").arg(count);
}

QString unopenedFoldersNotice(int count, const QString& first)
{
    if (count <= 0)
        return {};
    const QString n = QString::number(count);
    return L(QStringLiteral("Could not open %1 folder(s); the first was “%2”.").arg(n, first),
             QStringLiteral("无法打开 %1 个文件夹;第一个是「%2」。").arg(n, first));
}
