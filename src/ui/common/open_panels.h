#pragma once
// The Add Files… and Add Folder… panels the model asks for, shown through the Dialogs interface
// so that tests script the answers.
#include "files/intake_ui.h"

class Dialogs;

class DialogsOpenPanels : public OpenPanels {
public:
    explicit DialogsOpenPanels(Dialogs& dialogs) : m_dialogs(dialogs) {}
    QStringList chooseFiles() override;
    QStringList chooseFolders(const QString& prompt) override;

private:
    Dialogs& m_dialogs;
};
