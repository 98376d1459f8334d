#pragma once
// Folder access as the application sandbox of other platforms defines it. Linux has no such
// sandbox, so the default layer grants everything; the bookkeeping around it (which folders are
// held, which the user declined) stays the same, and a sandbox can be simulated by a subclass.
#include <QByteArray>
#include <QString>
#include <optional>

class FolderAccess {
public:
    virtual ~FolderAccess() = default;
    // Starts access to a folder; false when it can't be had.
    virtual bool startAccessing(const QString& folder);
    virtual void stopAccessing(const QString& folder);
    // Whether a move between these paths is allowed at all.
    virtual bool mayMove(const QString& from, const QString& to) const;
    // A durable reference to a folder, and back. A bookmark is the folder's path.
    virtual QByteArray bookmark(const QString& folder) const;
    virtual std::optional<QString> resolveBookmark(const QByteArray& data) const;
};

// The question asked when a move was refused: an alert, then a folder panel. Implemented by the
// user interface; tests script the answers.
class AccessPrompter {
public:
    struct Alert {
        QString message;
        QString informative;
        QString continueButton;
        QString cancelButton;
    };
    struct Panel {
        QString startFolder;
        QString message;
        QString prompt;
    };
    virtual ~AccessPrompter() = default;
    // True when the user pressed Continue.
    virtual bool confirm(const Alert& alert) = 0;
    // The folder the user chose, or nothing when the panel was cancelled.
    virtual std::optional<QString> chooseFolder(const Panel& panel) = 0;
};
