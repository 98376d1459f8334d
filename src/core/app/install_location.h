#pragma once
// Moving a self-contained application image into ~/Applications. Only an image started from
// somewhere else (a downloads folder, a mounted stick) is offered the move; a packaged install
// and a build started from its build folder are never asked.
//
// The move never leaves the user without a copy: the image is first copied under a temporary
// name beside the target, only then is an older copy put in the trash, and the temporary copy
// is renamed into place (a rename that refuses to replace anything).
#include <QString>
#include <functional>

struct InstallLocation {
    QString imagePath;     // the running image ($APPIMAGE); empty when not started from one
    QString applications;  // ~/Applications
    // Puts a file in the trash. current() fills in the desktop's trash; left empty, nothing is
    // trashed and an older copy at the target stays where it is.
    std::function<bool(const QString& path, QString* error)> moveToTrash;

    // From the process environment and the home folder, with the desktop's trash.
    static InstallLocation current();
    // The desktop's trash (QFile::moveToTrash).
    static bool moveToDesktopTrash(const QString& path, QString* error);

    // The path the image is moved to.
    QString targetPath() const;
    // True when an image runs from outside the applications folder.
    bool shouldOfferMove() const;

    struct MoveResult {
        bool ok = false;
        QString error;  // what went wrong, for the user
    };
    // Copies the image to the target and keeps it executable. An older copy at the target goes
    // to the trash; when the trash refuses, nothing is replaced and the copy made is removed.
    MoveResult moveIntoApplications() const;

private:
    bool trash(const QString& path, QString* error) const;
};
