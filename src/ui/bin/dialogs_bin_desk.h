#pragma once
// The bin's questions, clipboard and desktop requests answered by the application: prompts and
// panels through Dialogs, files opened and shown through the desktop, previews in our window.
#include "bin/bin_desk.h"

class Dialogs;

class DialogsBinDesk : public BinDesk {
public:
    explicit DialogsBinDesk(Dialogs& dialogs) : m_dialogs(dialogs) {}

    std::optional<QString> promptText(const QString& title, const QString& message, const QString& startText) override;
    std::optional<std::pair<QString, bool>> promptCustomColumn() override;
    QStringList chooseFolders(const QString& prompt, const QString& message) override;
    QStringList chooseFilesAndFolders(const QString& message) override;
    bool confirm(const QString& message, const QString& informative, const QString& accept,
                 const QString& cancel) override;
    void setClipboardText(const QString& text) override;
    void openFile(const QString& path) override;
    void preview(const QStringList& paths) override;
    void reveal(const QStringList& paths) override;

private:
    Dialogs& m_dialogs;
};
