// Folder access bookkeeping, the move primitive and the access prompt.
#include "files/scoped_access.h"

#include "model/store.h"
#include "platform/lang.h"
#include "platform/open_folder.h"

#include <cerrno>

FolderAccess& ScopedAccess::folderAccess() const
{
    return *m_store.services().folderAccess;
}

void ScopedAccess::ensureScopedAccess(const QString& folder)
{
    const QString path = PathText::standardized(folder);
    if (m_scopedFolderRoots.contains(path))
        return;
    if (folderAccess().startAccessing(path))
        m_scopedFolderRoots << path;
}

void ScopedAccess::stopScopedAccess()
{
    for (const QString& folder : std::as_const(m_scopedFolderRoots))
        folderAccess().stopAccessing(folder);
    m_scopedFolderRoots.clear();
}

std::optional<MoveError> ScopedAccess::coordinatedMove(const QString& from, const QString& to)
{
    if (!folderAccess().mayMove(from, to))
        return MoveError{EPERM, from, to};
    return SafeMove::move(from, to);
}

std::optional<MoveError> ScopedAccess::coordinatedMove(const QString& from, const QString& to, OpenFolder& near)
{
    if (!folderAccess().mayMove(from, to))
        return MoveError{EPERM, from, to};
    return near.move(from, to);
}

bool ScopedAccess::requestFolderAccess(const QString& from, const QString& to, const std::optional<MoveError>& error)
{
    const QString folder = PathText::standardized(PathText::parent(to));
    if (m_scopedFolderRoots.contains(folder) || !m_store.isSandboxed() || m_store.isRunningUnitTests()
        || m_declinedAccessFolders.contains(folder) || (error && error->readOnly()))
        return false;
    AccessPrompter* prompter = m_store.services().accessPrompter.get();
    if (!prompter)
        return false;

    const QString name = PathText::lastComponent(folder);
    AccessPrompter::Alert alert;
    alert.message = L(QStringLiteral("Allow access to “%1”?").arg(name), QStringLiteral("允许访问「%1」吗?").arg(name));
    alert.informative =
        L("The system requires one-time folder access to rename files here. Click Continue, then "
          "click Open in the next dialog to grant it.",
          "系统要求一次性授权访问该文件夹才能在这里重命名文件。点击继续,然后在弹出的对话框里点「打开」即可授权。");
    alert.continueButton = L("Continue", "继续");
    alert.cancelButton = L("Cancel", "取消");
    if (!prompter->confirm(alert)) {
        m_declinedAccessFolders.insert(folder);
        return false;
    }

    AccessPrompter::Panel panel;
    panel.startFolder = folder;
    panel.message = L("Select this folder to grant Brindlecove access to it",
                      "选择这个文件夹,以授权 Brindlecove 访问它");
    panel.prompt = L("Grant Access", "授予访问权限");
    const std::optional<QString> chosen = prompter->chooseFolder(panel);
    if (!chosen) {
        m_declinedAccessFolders.insert(folder);
        return false;
    }
    // The user may have picked another folder; that one is what gets access.
    ensureScopedAccess(*chosen);
    return !coordinatedMove(from, to).has_value();
}
