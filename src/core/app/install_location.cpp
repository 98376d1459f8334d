#include "install_location.h"

#include "platform/lang.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

InstallLocation InstallLocation::current()
{
    InstallLocation l;
    l.imagePath = qEnvironmentVariable("APPIMAGE");
    l.applications = QDir(QDir::homePath()).filePath("Applications");
    l.moveToTrash = &InstallLocation::moveToDesktopTrash;
    return l;
}

QString InstallLocation::targetPath() const
{
    return QDir(applications).filePath("Brindlecove.AppImage");
}

bool InstallLocation::shouldOfferMove() const
{
    if (imagePath.isEmpty() || !QFileInfo(imagePath).isFile())
        return false;
    const QString folder = QFileInfo(imagePath).absolutePath();
    const QString apps = QFileInfo(applications).absoluteFilePath();
    // Links are resolved on both sides so that a linked home folder still counts as inside.
    const QString canonicalApps = QFileInfo(apps).canonicalFilePath();
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    const bool inside = folder == apps || (!canonicalApps.isEmpty() && canonicalFolder == canonicalApps);
    return !inside;
}

bool InstallLocation::moveToDesktopTrash(const QString& path, QString* error)
{
    QFile file(path);
    const bool ok = file.moveToTrash();
    *error = file.errorString();
    return ok;
}

bool InstallLocation::trash(const QString& path, QString* error) const
{
    if (moveToTrash)
        return moveToTrash(path, error);
    *error = L("No trash is available.", "没有可用的废纸篓。");
    return false;
}

InstallLocation::MoveResult InstallLocation::moveIntoApplications() const
{
    MoveResult r;
    if (!QDir().mkpath(applications)) {
        r.error = L("The folder %1 can't be created.", "无法创建文件夹 %1。").arg(applications);
        return r;
    }
    const QString target = targetPath();
    const QString temp =
        QDir(applications).filePath(".Brindlecove.AppImage." + QUuid::createUuid().toString(QUuid::Id128) + ".part");
    QFile source(imagePath);
    if (!source.copy(temp)) {
        QFile::remove(temp);
        r.error = L("Copying failed: %1", "复制失败:%1").arg(source.errorString());
        return r;
    }
    QFile copy(temp);
    copy.setPermissions(source.permissions() | QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
        QString why;
        if (!trash(target, &why)) {
            QFile::remove(temp);
            r.error = L("The older copy in %1 can't be moved to the trash: %2", "无法把 %1 中的旧版本移到废纸篓:%2")
                          .arg(applications, why);
            return r;
        }
    }
    if (!copy.rename(target)) {
        QFile::remove(temp);
        r.error = L("The copy can't be put in place: %1", "无法放置拷贝:%1").arg(copy.errorString());
        return r;
    }
    r.ok = true;
    return r;
}
