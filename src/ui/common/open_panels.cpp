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

bool DialogsAccessPrompter::confirm(const Alert& alert)
{
    Dialogs::Alert a;
    a.style = Dialogs::Style::Warning;
    a.message = alert.message;
    a.informative = alert.informative;
    a.buttons = {alert.cancelButton, alert.continueButton};
    a.defaultButton = 1;
    a.cancelButton = 0;
    return m_dialogs.alert(a).button == 1;
}

std::optional<QString> DialogsAccessPrompter::chooseFolder(const Panel& panel)
{
    Dialogs::OpenPanel p;
    p.chooseFiles = false;
    p.chooseDirectories = true;
    p.multiple = false;
    p.directory = panel.startFolder;
    p.title = panel.message;
    p.prompt = panel.prompt;
    const QStringList paths = m_dialogs.openPanel(p).paths;
    if (paths.isEmpty())
        return std::nullopt;
    return paths.first();
}
