#include "quit_guard.h"

#include "common/dialogs.h"
#include "model/store.h"
#include "platform/lang.h"

bool confirmQuitWithUnsavedMetadata(Store& store, Dialogs& dialogs)
{
    const int n = store.unsavedMetaItems();
    if (n < 1)
        return true;
    Dialogs::Alert a;
    a.style = Dialogs::Style::Warning;
    a.message = L("Quit without saving metadata changes?", "不保存元数据修改就退出吗?");
    a.informative = Lang::zh() ? QStringLiteral("「元数据」标签中有 %1 个文件的修改还没有保存到文件。").arg(n)
                               : QStringLiteral("%1 file(s) have edits in the Metadata tab that haven't been saved "
                                                "to the files.")
                                     .arg(n);
    a.buttons = {L("Cancel", "取消"), L("Quit Anyway", "仍然退出")};
    a.defaultButton = 0;
    a.cancelButton = 0;
    a.destructiveButton = 1;
    return dialogs.alert(a).button == 1;
}
