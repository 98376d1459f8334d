#pragma once
// What the bin model asks of the screens: questions for the user, the clipboard and the desktop.
// The UI implements it with dialogs and the desktop services; tests hand in fakes.
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

class BinDesk {
public:
    virtual ~BinDesk() = default;
    // The answer trimmed of blanks and line breaks (possibly empty); none when cancelled.
    virtual std::optional<QString> promptText(const QString& title, const QString& message,
                                              const QString& startText) = 0;
    // A column name (trimmed) and whether it is a checkbox column; none when cancelled.
    virtual std::optional<std::pair<QString, bool>> promptCustomColumn() = 0;
    // Folders only, several at once; empty when cancelled.
    virtual QStringList chooseFolders(const QString& prompt, const QString& message) = 0;
    // Files and folders, several at once; empty when cancelled.
    virtual QStringList chooseFilesAndFolders(const QString& message) = 0;
    // A warning with two answers: true only for `accept` (the default); `cancel`, Escape and
    // closing the alert answer false.
    virtual bool confirm(const QString& message, const QString& informative, const QString& accept,
                         const QString& cancel) = 0;
    // Replaces the clipboard's content with one plain text.
    virtual void setClipboardText(const QString& text) = 0;
    virtual void openFile(const QString& path) = 0;
    virtual void preview(const QStringList& paths) = 0;
    virtual void reveal(const QStringList& paths) = 0;
};
