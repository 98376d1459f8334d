// Renaming one listed item to a typed name.
#include "files/path_remap.h"
#include "model/name_validation.h"
#include "model/store.h"
#include "platform/lang.h"

namespace {
// Strips white space and line breaks at both ends.
QString trimmed(const QString& text) { return text.trimmed(); }

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
} // namespace

bool Store::renameOne(const QUuid& id, const QString& typedName)
{
    const auto it = std::find_if(m_items.cbegin(), m_items.cend(), [&](const FileItem& f) { return f.id == id; });
    if (it == m_items.cend())
        return false;
    const FileItem item = *it;
    const QString name = trimmed(typedName);
    if (name.isEmpty())
        return false;
    if (name == item.name)
        return true;
    if (auto why = validateNewName(name, item.name)) {
        setStatus(L(QStringLiteral("Skipped: ") + *why, QStringLiteral("已跳过:") + *why));
        return false;
    }
    const QString target = PathRemap::clean(PathText::parent(item.url) + '/' + name);
    if (SafeMove::exists(target) && !isSameFile(item.url, target)) {
        setStatus(L(QStringLiteral("Skipped: \"%1\" already exists.").arg(name),
                    QStringLiteral("已跳过:\"%1\" 已存在。").arg(name)));
        return false;
    }
    if (auto err = coordinatedMove(item.url, target); err && !requestFolderAccess(item.url, target, err)) {
        setStatus(L(QStringLiteral("Failed: ") + err->text(), QStringLiteral("失败:") + err->text()));
        return false;
    }
    finishRenameOne(item, target);
    return true;
}

void Store::finishRenameOne(const FileItem& item, const QString& target)
{
    const Move move{PathRemap::clean(item.url), PathRemap::clean(target)};
    editUndoStack([&](QList<MoveBatch>& stack) { stack << MoveBatch{move}; });
    commitRenamed({move});
}

bool Store::renameItemByID(const QUuid& id, const QString& stem, const std::optional<QString>& ext)
{
    const auto it = std::find_if(m_items.cbegin(), m_items.cend(), [&](const FileItem& f) { return f.id == id; });
    if (it == m_items.cend())
        return false;
    const QString s = trimmed(stem);
    if (s.isEmpty())
        return false;
    const QString e = ext ? trimDotsAndBlanks(*ext) : it->ext;
    return renameOne(id, e.isEmpty() ? s : s + '.' + e);
}
