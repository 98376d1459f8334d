#include "dialogs_bin_desk.h"

#include "common/dialogs.h"
#include "common/file_manager.h"
#include "common/prompts.h"
#include "common/quick_look.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

std::optional<QString> DialogsBinDesk::promptText(const QString& title, const QString& message,
                                                  const QString& startText)
{
    return ::promptText(m_dialogs, title, message, startText);
}

std::optional<std::pair<QString, bool>> DialogsBinDesk::promptCustomColumn()
{
    const auto answer = ::promptCustomColumn(m_dialogs);
    if (!answer)
        return std::nullopt;
    return std::make_pair(answer->name, answer->isCheckbox);
}

QStringList DialogsBinDesk::chooseFolders(const QString& prompt, const QString& message)
{
    Dialogs::OpenPanel panel;
    panel.title = message;
    panel.prompt = prompt;
    panel.chooseFiles = false;
    panel.chooseDirectories = true;
    panel.multiple = true;
    return m_dialogs.openPanel(panel).paths;
}

QStringList DialogsBinDesk::chooseFilesAndFolders(const QString& message)
{
    Dialogs::OpenPanel panel;
    panel.title = message;
    panel.chooseFiles = true;
    panel.chooseDirectories = true;
    panel.multiple = true;
    return m_dialogs.openPanel(panel).paths;
}

bool DialogsBinDesk::confirm(const QString& message, const QString& informative, const QString& accept,
                             const QString& cancel)
{
    Dialogs::Alert alert;
    alert.style = Dialogs::Style::Warning;
    alert.message = message;
    alert.informative = informative;
    alert.buttons = {accept, cancel};
    alert.defaultButton = 0;
    alert.cancelButton = 1;
    return m_dialogs.alert(alert).button == 0;
}

void DialogsBinDesk::setClipboardText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

void DialogsBinDesk::openFile(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void DialogsBinDesk::preview(const QStringList& paths)
{
    QuickLook::shared().show(paths);
}

void DialogsBinDesk::reveal(const QStringList& paths)
{
    showInFileManager(paths);
}
