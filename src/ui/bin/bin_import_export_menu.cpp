#include "bin_import_export_menu.h"

#include "bin/bin_controller.h"
#include "bin/bin_export.h"
#include "bin/bin_import.h"
#include "bin_toolbar.h"
#include "common/dialogs.h"
#include "common/icons.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QMenu>

namespace {
struct Format {
    const char* id;
    const char* title;  // the same in both languages
};
constexpr Format kFormats[] = {{"csv", "CSV / TSV"},
                               {"ale", "ALE (Avid)"},
                               {"fcpxml", "FCPXML"},
                               {"xml7", "XML (FCP 7)"}};

void importFile(Store& store, Dialogs& dialogs, const QString& formatId)
{
    Dialogs::OpenPanel panel;
    panel.multiple = false;
    const Dialogs::OpenResult chosen = dialogs.openPanel(panel);
    if (chosen.accepted())
        BinImport::importFile(store, chosen.paths.first(), formatId);
}

void exportFile(Store& store, Dialogs& dialogs, const QString& formatId)
{
    // The text is made before the panel opens, from the rows as they stand now.
    const BinExport::FileText file = BinExport::render(store.bin().rows(), formatId, store.bin().csvFields());
    Dialogs::SavePanel panel;
    panel.fileName = BinExport::proposedFileName(formatId);
    const std::optional<QString> path = dialogs.savePanel(panel);
    if (path && !path->isEmpty())
        BinExport::writeFile(store, *path, file.text);
}

void fill(QMenu* menu, Store& store, Dialogs& dialogs, const std::function<void()>& openFieldMapSheet)
{
    clearMenu(menu);
    QMenu* in = menu->addMenu(symbolIcon("square.and.arrow.down"), L("Import", "导入"));
    for (const Format& f : kFormats)
        in->addAction(QString::fromUtf8(f.title), menu,
                      [&store, &dialogs, id = QString::fromUtf8(f.id)] { importFile(store, dialogs, id); });
    QMenu* out = menu->addMenu(symbolIcon("square.and.arrow.up"), L("Export", "导出"));
    out->setEnabled(!store.items().isEmpty());
    for (const Format& f : kFormats)
        out->addAction(QString::fromUtf8(f.title), menu,
                       [&store, &dialogs, id = QString::fromUtf8(f.id)] { exportFile(store, dialogs, id); });
    out->addAction(QStringLiteral("EDL (CMX 3600)"), menu,
                   [&store, &dialogs] { exportFile(store, dialogs, QStringLiteral("edl")); });
    out->addSeparator();
    QAction* mapping = out->addAction(symbolIcon("list.bullet.rectangle"), L("CSV field mapping…", "CSV 字段映射…"),
                                      menu, openFieldMapSheet);
    mapping->setToolTip(L("Choose which columns CSV export includes, their order, and header names — save as a "
                          "reusable preset.",
                          "选择 CSV 导出包含哪些列、顺序、以及表头名称 —— 可存成预设复用。"));
    out->setToolTipsVisible(true);
}
}  // namespace

void attachImportExportMenu(QMenu* menu, Store& store, Dialogs& dialogs, std::function<void()> openFieldMapSheet)
{
    fill(menu, store, dialogs, openFieldMapSheet);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, &store, &dialogs, open = std::move(openFieldMapSheet)] {
        fill(menu, store, dialogs, open);
    });
}
