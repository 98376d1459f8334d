#include "bin_relink.h"

#include "bin/bin_desk.h"
#include "files/dir_walk.h"
#include "files/intake.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QFileInfo>

namespace BinRelink {

QHash<QString, QString> nameMap(const QStringList& chosen)
{
    QHash<QString, QString> names;
    DirWalk::Options options;
    options.recursive = true;
    options.skipHidden = true;
    options.skipPackages = true;
    for (const QString& path : chosen) {
        const QFileInfo info(path);
        if (!info.isDir() || info.isSymLink()) {
            names.insert(info.fileName(), path);
            continue;
        }
        DirWalk::walk(path, options, [&names](const DirWalk::Entry& entry) {
            if (entry.kind == DirWalk::Kind::Regular)
                names.insert(entry.name, entry.path());
        });
    }
    return names;
}

int relink(Store& store, QList<BinRow> rows, const QHash<QString, QString>& names)
{
    int found = 0;
    for (const BinRow& row : rows) {
        if (!row.isOffline())
            continue;
        const auto it = names.constFind(row.name);
        if (it == names.constEnd())
            continue;
        store.intake().addURLs({*it});
        ++found;
    }
    return found;
}

void relinkOffline(Store& store, QList<BinRow> rows, BinDesk& desk)
{
    const QStringList chosen = desk.chooseFilesAndFolders(
        L("Choose files, or a parent folder to scan recursively (all subfolders included).",
          "选择文件,或选一个母文件夹递归扫描(含所有子文件夹)。"));
    if (chosen.isEmpty())
        return;
    const QString n = QString::number(relink(store, std::move(rows), nameMap(chosen)));
    store.setStatus(L("Relinked " + n + " file(s).", "已关联 " + n + " 个文件。"));
}

QString relinkLabel()
{
    return L("Relink files", "关联文件");
}

QString relinkHelp()
{
    return L("Attach real files to offline (imported) rows by matching file name.",
             "按文件名把磁盘文件关联到离线(导入)行。");
}

QString importExportLabel()
{
    return L("Import / Export", "导入 / 导出");
}

}  // namespace BinRelink
