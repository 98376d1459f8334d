// Applying a batch of proposed names, and renaming one item to a typed name.
#include "files/renamer.h"

#include "files/history.h"
#include "files/item_bookkeeping.h"
#include "files/path_remap.h"
#include "files/rename_decision.h"
#include "files/rename_journal.h"
#include "files/scoped_access.h"
#include "model/file_dates.h"
#include "model/name_preview.h"
#include "model/name_validation.h"
#include "model/store.h"
#include "platform/lang.h"
#include "platform/open_folder.h"

namespace {

QString nothingRenamedStatus(int skipped, const QString& reason)
{
    const QString m = QString::number(skipped);
    if (skipped == 0)
        return L("No changes to apply.", "没有需要应用的更改。");
    if (reason.isEmpty())
        return L(QStringLiteral("Nothing renamed. %1 skipped (conflicts).").arg(m),
                 QStringLiteral("未重命名,跳过 %1 个(冲突)。").arg(m));
    return L(QStringLiteral("Nothing renamed. %1 skipped: %2").arg(m, reason),
             QStringLiteral("未重命名,跳过 %1 个:%2").arg(m, reason));
}

// A batch that stopped part-way can leave a file it had moved aside under its hidden name.
QString hiddenNote(int leftHidden)
{
    if (leftHidden == 0)
        return {};
    const QString n = QString::number(leftHidden);
    return L(QStringLiteral(" %1 file(s) stay under a temporary name until you undo this rename.").arg(n),
             QStringLiteral("%1 个文件暂时保留临时名称,撤销这次重命名即可恢复。").arg(n));
}

QString renamedStatus(int renamed, int skipped, const QString& reason)
{
    const QString n = QString::number(renamed);
    const QString m = QString::number(skipped);
    if (skipped == 0)
        return L(QStringLiteral("Renamed %1.").arg(n), QStringLiteral("已重命名 %1 个。").arg(n));
    if (reason.isEmpty())
        return L(QStringLiteral("Renamed %1, skipped %2 (conflicts).").arg(n, m),
                 QStringLiteral("已重命名 %1 个,跳过 %2 个(冲突)。").arg(n, m));
    return L(QStringLiteral("Renamed %1, skipped %2: %3").arg(n, m, reason),
             QStringLiteral("已重命名 %1 个,跳过 %2 个:%3").arg(n, m, reason));
}

// The disk the batch runs on: moves go through the folder access bookkeeping.
class RealDisk : public BatchDisk {
public:
    explicit RealDisk(ScopedAccess& access) : m_access(access) {}
    bool exists(const QString& path) const override { return SafeMove::exists(path); }
    bool sameFile(const QString& a, const QString& b) const override { return isSameFile(a, b); }
    QList<bool> taken(const QString& folder, const QList<Move>& moves) const override
    {
        return targetsTakenOnDisk(folder, moves);
    }
    bool takenOnRealDisk() const override { return true; }
    std::optional<MoveError> move(const QString& from, const QString& to) override
    {
        return m_access.coordinatedMove(from, to, m_folder);
    }
    bool retryWithAccess(const QString& from, const QString& to, const std::optional<MoveError>& error) override
    {
        return m_access.requestFolderAccess(from, to, error);
    }
    QString temporaryName() override { return SafeMove::temporaryName(); }

private:
    ScopedAccess& m_access;
    OpenFolder m_folder;  // a batch renames folder by folder
};

// Strips white space and line breaks at both ends.
QString trimmed(const QString& text)
{
    return text.trimmed();
}

// Strips dots and blanks (not tabs or line breaks) at both ends.
QString trimDotsAndBlanks(const QString& text)
{
    qsizetype start = 0, end = text.size();
    auto strip = [](QChar c) { return c == '.' || c == ' '; };
    while (start < end && strip(text.at(start)))
        ++start;
    while (end > start && strip(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}
}  // namespace

void Renamer::applyInScope(const QSet<QUuid>& selection)
{
    const QList<FileItem>& items = m_store.items();
    if (items.isEmpty())
        return;
    if (!m_store.sections().scopeAllFiles && selection.isEmpty()) {
        m_store.setStatus(L("No files selected — select files in the list, or switch scope to “All files”.",
                            "未选中文件 —— 请在列表中选择文件,或把范围切换为「全部文件」。"));
        return;
    }
    RenamePlan plan;
    plan.reserve(items.size());
    for (int i = 0; i < items.size(); ++i)
        plan.insert(items[i].id, m_store.preview().newName(items[i], i, selection));
    applyRenames(plan);
}

void Renamer::applyRenames(const RenamePlan& plan)
{
    m_store.access().forgetDeclinedFolders();
    RealDisk disk(m_store.access());
    // Only the process that holds the support folder keeps journals there.
    RenameJournal journal(m_store.writesSupportFiles() ? RenameJournal::newPathIn(m_store.supportFolder()) : QString());
    RenameBatchResult r = journal.run(m_store.items(), plan, disk);
    const QString journalPath = journal.written() ? journal.path() : QString();
    if (r.moves.isEmpty())
        RenameJournal::discard(journalPath);
    if (!r.anyToMove) {
        m_store.setStatus(nothingRenamedStatus(r.skipped, r.reason));
        return;
    }
    m_store.dates().clearCaches();
    if (!r.moves.isEmpty()) {
        m_store.bookkeeping().commitRenamed(r.moves, r.itemMoves);
        r.itemMoves = {};  // the batch's entries go before the history grows
        m_store.history().recordApplied(r.moves, journalPath);
    }
    m_store.setStatus(renamedStatus(r.renamed, r.skipped, r.reason) + hiddenNote(r.leftHidden));
}

bool Renamer::renameOne(const QUuid& id, const QString& typedName)
{
    const auto it = std::find_if(m_store.items().cbegin(), m_store.items().cend(),
                                 [&](const FileItem& f) { return f.id == id; });
    if (it == m_store.items().cend())
        return false;
    const FileItem item = *it;
    const QString name = trimmed(typedName);
    if (name.isEmpty())
        return false;
    if (name == item.name)
        return true;
    if (auto why = validateNewName(name, item.name)) {
        m_store.setStatus(L(QStringLiteral("Skipped: ") + *why, QStringLiteral("已跳过:") + *why));
        return false;
    }
    const QString target = PathRemap::clean(PathText::parent(item.url) + '/' + name);
    if (SafeMove::exists(target) && !isSameFile(item.url, target)) {
        m_store.setStatus(L(QStringLiteral("Skipped: \"%1\" already exists.").arg(name),
                            QStringLiteral("已跳过:\"%1\" 已存在。").arg(name)));
        return false;
    }
    if (auto err = m_store.access().coordinatedMove(item.url, target);
        err && !m_store.access().requestFolderAccess(item.url, target, err)) {
        m_store.setStatus(L(QStringLiteral("Failed: ") + err->text(), QStringLiteral("失败:") + err->text()));
        return false;
    }
    finishRenameOne(item, target);
    return true;
}

void Renamer::finishRenameOne(const FileItem& item, const QString& target)
{
    const Move move{PathRemap::clean(item.url), PathRemap::clean(target)};
    m_store.history().record({move});
    m_store.bookkeeping().commitRenamed({move});
}

bool Renamer::renameItemByID(const QUuid& id, const QString& stem, const std::optional<QString>& ext)
{
    const auto it = std::find_if(m_store.items().cbegin(), m_store.items().cend(),
                                 [&](const FileItem& f) { return f.id == id; });
    if (it == m_store.items().cend())
        return false;
    const QString s = trimmed(stem);
    if (s.isEmpty())
        return false;
    const QString e = ext ? trimDotsAndBlanks(*ext) : it->ext;
    return renameOne(id, e.isEmpty() ? s : s + '.' + e);
}
