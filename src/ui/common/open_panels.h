#pragma once
// The Add Files… and Add Folder… panels the model asks for, shown through the Dialogs interface
// so that tests script the answers.
#include "files/open_panels.h"
#include "platform/folder_access.h"

class Dialogs;

class DialogsOpenPanels : public OpenPanels {
public:
    explicit DialogsOpenPanels(Dialogs& dialogs) : m_dialogs(dialogs) {}
    QStringList chooseFiles() override;
    QStringList chooseFolders(const QString& prompt) override;

private:
    Dialogs& m_dialogs;
};

// The folder-access question (an alert, then a folder panel) shown through Dialogs.
class DialogsAccessPrompter : public AccessPrompter {
public:
    explicit DialogsAccessPrompter(Dialogs& dialogs) : m_dialogs(dialogs) {}
    bool confirm(const Alert& alert) override;
    std::optional<QString> chooseFolder(const Panel& panel) override;

private:
    Dialogs& m_dialogs;
};
