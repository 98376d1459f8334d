#include "smartrename/smart_rename_handoff.h"

#include "files/renamer.h"
#include "model/rule_engine.h"
#include "model/store.h"
#include "smartrename/smart_rename_run.h"

namespace {
constexpr int kEmailTab = 4;
}  // namespace

namespace SmartRename {

RenamePlan renamePlan(const QList<SmartRenameRow>& rows, bool keepExtension)
{
    RenamePlan plan;
    for (const SmartRenameRow& row : rows) {
        if (!row.sourceItem)
            continue;
        const FileItem& item = *row.sourceItem;
        QString name = row.corrected.trimmed();
        const QString shownExt = u'.' + item.ext;
        if (keepExtension && !item.ext.isEmpty() && name.endsWith(shownExt, Qt::CaseInsensitive))
            name.chop(shownExt.size());
        const QString ext = row.variantExt ? cleanExtensionText(*row.variantExt) : item.ext;
        plan.insert(item.id, ext.isEmpty() ? name : name + u'.' + ext);
    }
    return plan;
}

EmailFileContext emailContext(const SmartRenameRow& row)
{
    return {row.original, row.corrected, row.code, row.spotName, row.cutType, row.timing, row.version};
}

}  // namespace SmartRename

void SmartRenameHandOff::applyRename()
{
    const SmartSettings& s = m_store.smart();
    m_store.renamer().applyRenames(SmartRename::renamePlan(s.smartRenameRows, s.smartRenameKeepExt));
    m_store.smartRun().useLoadedFiles();
}

void SmartRenameHandOff::generateEmail()
{
    QList<EmailFileContext> contexts;
    for (const SmartRenameRow& row : m_store.smart().smartRenameRows)
        contexts << SmartRename::emailContext(row);
    handOver(std::move(contexts));
}

void SmartRenameHandOff::generateEmailForRow(const QUuid& rowId)
{
    for (const SmartRenameRow& row : m_store.smart().smartRenameRows)
        if (row.id == rowId)
            return handOver({SmartRename::emailContext(row)});
}

void SmartRenameHandOff::handOver(QList<EmailFileContext> contexts)
{
    m_store.setPendingEmailContexts(std::move(contexts));
    m_store.setActiveTab(kEmailTab);
}
