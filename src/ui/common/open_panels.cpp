#include "open_panels.h"

#include "common/dialogs.h"

QStringList DialogsOpenPanels::chooseFiles()
{
    Dialogs::OpenPanel panel;
    panel.chooseFiles = true;
    panel.chooseDirectories = false;
    panel.multiple = true;
    return m_dialogs.openPanel(panel).paths;
}

QStringList DialogsOpenPanels::chooseFolders(const QString& prompt)
{
    Dialogs::OpenPanel panel;
    panel.chooseFiles = false;
    panel.chooseDirectories = true;
    panel.multiple = true;
    panel.prompt = prompt;
    return m_dialogs.openPanel(panel).paths;
}
