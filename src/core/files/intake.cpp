// Bringing files in: URLs handed in by drops, open panels and the command line become list
// items; folders contribute their direct files, themselves, or a media scan.
#include "files/intake.h"

#include "files/dir_walk.h"
#include "files/item_bookkeeping.h"
#include "files/media_drive_scan.h"
#include "files/scoped_access.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Appends the items whose path is not yet in `seen`; first occurrence wins. Paths compare
// exactly: on Linux two Unicode spellings of one name are two different files.
void appendNew(QList<FileItem>& into, QList<FileItem>&& candidates, QSet<QString>& seen)
{
    seen.reserve(seen.size() + candidates.size());
    if (into.isEmpty()) {
        // The usual first listing: the candidates become the list, with no second copy of it.
        candidates.removeIf([&](const FileItem& item) {
            const qsizetype before = seen.size();
            seen.insert(item.url);
            return seen.size() == before;
        });
        into = std::move(candidates);
        return;
    }
    into.reserve(into.size() + candidates.size());
    for (FileItem& item : candidates) {
        const qsizetype before = seen.size();
        seen.insert(item.url);
        if (seen.size() != before)
            into << std::move(item);
    }
}

QSet<QString> pathsOf(const QList<FileItem>& items)
{
    QSet<QString> out;
    out.reserve(items.size());
    for (const FileItem& i : items)
        out.insert(i.url);
    return out;
}

QString joinSentences(const QString& a, const QString& b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return a + QLatin1Char(' ') + b;
}

}  // namespace

void Intake::addURLs(const QStringList& paths)
{
    QList<FileItem> folders;   // F
    QList<FileItem> files;     // L
    bool emptyFolder = false;  // E
    int skipped = 0;
    files.reserve(paths.size());  // most are files: the command line hands in thousands
    for (const QString& raw : paths) {
        struct stat st {};
        if (raw.isEmpty() || ::stat(QFile::encodeName(raw).constData(), &st) != 0)  // follows symbolic links
            continue;
        if (!S_ISDIR(st.st_mode)) {
            files << FileItem::file(raw);
            continue;
        }
        m_store.access().ensureScopedAccess(raw);
        if (m_store.prefs().mediaDriveMode) {
            loadMediaDrive(raw);
            continue;
        }
        const QString folder = PathText::standardized(raw);
        const QString prefix = folder == QLatin1String("/") ? QString() : folder;
        const std::optional<QString> from = folder;  // one for all its files, not one each
        int kept = 0;
        const DirWalk::Result r = DirWalk::walkRaw(folder, {}, [&](const DirWalk::RawEntry& e) {
            if (kept == 0)
                files.reserve(files.size() + e.listed);
            if (e.kind != DirWalk::Kind::Regular)
                return;
            files << FileItem::file(DirWalk::joinedPath(prefix, e.name, e.nameSize), from);
            ++kept;
        });
        skipped += r.skippedNames;
        if (kept == 0) {
            emptyFolder = true;
            if (m_store.sections().renameFolders)
                folders << FileItem::folder(folder);
        }
    }

    const QString notice = skippedNamesNotice(skipped);
    const bool anyFolders = !folders.isEmpty();
    if (anyFolders) {
        QSet<QString> seen = pathsOf(m_store.items());
        QList<FileItem> next = m_store.items();
        appendNew(next, std::move(folders), seen);
        m_store.setItems(std::move(next));
    }
    QString report;
    if (files.isEmpty()) {
        if (anyFolders)
            report = L("%1 folder(s).", "共 %1 个文件夹。").arg(m_store.items().size());
        else if (emptyFolder)
            report = L("That folder has no files.", "该文件夹没有文件。");
    } else if (m_store.sections().renameFolders) {
        m_store.editFileBackup([&](QList<FileItem>& backup) {
            QSet<QString> seen = pathsOf(backup);
            appendNew(backup, std::move(files), seen);
        });
        m_store.setItems(ItemBookkeeping::folderListing(m_store.fileBackup()));
        report = L("%1 folder(s).", "共 %1 个文件夹。").arg(m_store.items().size());
    } else {
        QSet<QString> seen = pathsOf(m_store.items());
        QList<FileItem> next = m_store.items();
        appendNew(next, std::move(files), seen);
        m_store.setItems(std::move(next));
        report = L("%1 file(s).", "共 %1 个文件。").arg(m_store.items().size());
    }
    if (!report.isEmpty() || !notice.isEmpty())
        m_store.setStatus(joinSentences(report, notice));
}

void Intake::queueDrops(const QString& path)
{
    const bool firstOfBurst = m_pendingDrops.isEmpty();
    m_pendingDrops << path;
    if (firstOfBurst)
        QTimer::singleShot(50, this, [this] { flushDrops(); });
}

void Intake::flushDrops()
{
    const QStringList taken = std::exchange(m_pendingDrops, {});
    addURLs(taken);
}

namespace {

// A fresh private folder in the temporary folder: 0700, never an existing one, so another
// user cannot plant links where the samples go.
int makePrivateFolder(const QString& base, QString* made, int* error)
{
    for (int attempt = 1; attempt < 100; ++attempt) {
        const QString candidate = attempt == 1 ? base : base + QStringLiteral(" (%1)").arg(attempt);
        if (::mkdir(QFile::encodeName(candidate).constData(), 0700) == 0) {
            const int fd = ::open(QFile::encodeName(candidate).constData(),
                                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0)
                break;
            *made = candidate;
            return fd;
        }
        if (errno != EEXIST)
            break;
    }
    *error = errno;
    return -1;
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

void Intake::addSampleFiles()
{
    static const char* const names[] = {"IMG_0412.JPG",
                                        "IMG_0413.JPG",
                                        "IMG_0414.JPG",
                                        "PNCH_POWER_TRLR_AV30_V1.mov",
                                        "Holiday video FINAL final (2).mp4",
                                        "meeting notes 2024-05-01.txt"};
    const auto fail = [this](int error) {
        m_store.setStatus(L("Couldn't create sample files: ", "无法创建示例文件:") + errorText(error));
    };
    const QString temp = QDir::tempPath();
    if (!QDir().mkpath(temp))
        return fail(errno ? errno : EACCES);
    const QString base = QDir(temp).filePath(
        QStringLiteral("Brindlecove Samples %1").arg(QDateTime::currentSecsSinceEpoch()));
    QString folder;
    int error = 0;
    const int dirFd = makePrivateFolder(base, &folder, &error);
    if (dirFd < 0)
        return fail(error);
    QStringList paths;
    for (const char* name : names) {
        const int fd = ::openat(dirFd, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            error = errno;
            ::close(dirFd);
            return fail(error);
        }
        ::close(fd);
        paths << QDir(folder).filePath(QString::fromUtf8(name));
    }
    ::close(dirFd);
    addURLs(paths);
    m_store.setStatus(L("Sample files added (a temporary folder) — try any rule, Apply and Undo.",
                        "已添加示例文件(在临时文件夹中)—— 随意试试规则、应用和撤销。"));
}

void Intake::loadMediaDrive(const QString& root)
{
    m_store.access().ensureScopedAccess(root);
    const MediaDriveScan scan = scanMediaDrive(root);
    if (!scan.opened)
        return;
    QSet<QString> listed = pathsOf(m_store.items());
    listed.reserve(listed.size() + scan.kept.size());
    QList<FileItem> next = m_store.items();
    next.reserve(next.size() + scan.kept.size());
    int added = 0;
    for (const QString& path : scan.kept) {
        if (listed.contains(path))
            continue;
        listed.insert(path);
        next << FileItem::file(path);
        ++added;
    }
    m_store.setItems(std::move(next));
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
    if (scan.unopenedFolders > 0)
        report += QLatin1Char(' ') + unopenedFoldersNotice(scan.unopenedFolders, scan.firstUnopened);
    m_store.setStatus(report);
}

void Intake::addFilesPanel()
{
    if (!m_openPanels)
        return;
    const QStringList chosen = m_openPanels->chooseFiles();
    if (!chosen.isEmpty())
        addURLs(chosen);
}

void Intake::addFoldersPanel()
{
    if (!m_openPanels)
        return;
    const QStringList chosen = m_openPanels->chooseFolders(L("Add Folder", "添加文件夹"));
    if (!chosen.isEmpty())
        addURLs(chosen);
}
