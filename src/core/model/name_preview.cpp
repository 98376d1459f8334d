#include "model/name_preview.h"

#include "model/file_dates.h"
#include "model/name_validation.h"
#include "model/rule_engine.h"
#include "model/store.h"
#include "platform/lang.h"
#include "smartrename/smart_fix.h"

#include <QFile>
#include <dirent.h>
#include <sys/stat.h>

namespace {

constexpr qsizetype kSmartFixBound = 50000;

bool existsOnDisk(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// Many targets in one folder are answered from one read of the folder instead of a path lookup
// each; a lookup of a missing name costs far more than reading its entry. Nothing when the
// folder has few targets or cannot be read (each target is then looked up).
std::optional<QSet<QByteArray>> folderListingFor(const QString& folder, qsizetype targets)
{
    constexpr qsizetype kListingThreshold = 64;
    if (targets < kListingThreshold)
        return std::nullopt;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return std::nullopt;
    QSet<QByteArray> names;
    while (const dirent* entry = ::readdir(dir))
        names.insert(QByteArray(entry->d_name));
    ::closedir(dir);
    return names;
}

// Lower-cased path for comparing names that differ only by case. Most paths are ASCII, where a
// plain byte loop gives the same text far faster than the full Unicode mapping.
QString lowerKey(const QString& path)
{
    QString out(path.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const char16_t* src = reinterpret_cast<const char16_t*>(path.constData());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = src[i];
        if (c >= 0x80)
            return path.toLower();
        dst[i] = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    }
    return out;
}

}  // namespace

QString NamePreview::applyBatchRules(const QString& stem, int index, const QString& dateText) const
{
    const RuleSettings& rules = m_store.rules();
    return applyRules(rules, stem, index, int(m_store.items().size()), dateText, rules.batchRuleOrder);
}

BinRow NamePreview::templateRow(const FileItem& item) const
{
    BinRow row;
    row.id = item.id;
    row.url = item.url;
    row.kind = metaKindForPath(item.url);
    row.isDir = false;
    row.name = item.name;
    row.fields = m_store.meta().metaDraft.value(item.id);
    return row;
}

QString NamePreview::newName(const FileItem& item, int index, const QSet<QUuid>& selection) const
{
    const NameSections& sections = m_store.sections();
    if (!sections.scopeAllFiles && !selection.contains(item.id))
        return item.name;
    QString stem = item.stem;
    if (sections.templateEnabled && !sections.templateText.isEmpty()) {
        stem = expandTemplate(sections.templateText, templateTokens(index, templateRow(item))).text;
    } else if (sections.smartRenameEnabled) {
        stem = smartFixed(item.stem);
    } else if (sections.useAIName && item.useAI && item.aiName && !item.aiName->isEmpty()) {
        stem = *item.aiName;
    }
    stem = applyBatchRules(stem, index, m_store.dates().dateText(item));
    const QString ext = item.isDir ? item.ext : newExtension(sections, item.ext);
    return ext.isEmpty() ? stem : stem + u'.' + ext;
}

NamePreview::NamePreview(const Store& store) : m_store(store), m_cachedStyle(store.sections().smartRenameStyle) {}

void NamePreview::sectionsPublished()
{
    const SmartRenameStyle style = m_store.sections().smartRenameStyle;
    if (m_cachedStyle != style)
        m_smartFixCache.clear();
    m_cachedStyle = style;
}

QString NamePreview::smartFixed(const QString& stem) const
{
    const auto cached = m_smartFixCache.constFind(stem);
    if (cached != m_smartFixCache.constEnd())
        return *cached;
    const SmartRenameStyle style = m_store.sections().smartRenameStyle;
    const auto& cutTypes = m_store.smart().customCutTypes;
    const auto& config = m_store.smart().customNamingConfig;
    const auto& splits = m_store.smart().learnedWordSplits;

    const SmartRename::Result r = SmartRename::smartFix(stem, style, cutTypes, config, splits);
    if (m_smartFixCache.size() >= kSmartFixBound)
        m_smartFixCache.clear();
    m_smartFixCache.insert(stem, r.corrected);
    return r.corrected;
}

NamePreview::ConflictResult NamePreview::conflictReasons(const QSet<QUuid>& selection) const
{
    const QList<FileItem>& items = m_store.items();
    ConflictResult result;
    const qsizetype n = items.size();
    QList<QString> lowerPaths(n);
    QHash<QString, int> listedAt;  // how many listed files have each lower-cased path
    listedAt.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        lowerPaths[i] = lowerKey(items.at(i).url);
        ++listedAt[lowerPaths[i]];
    }

    // Listed files that keep their place: a target on one of them is taken, not freed by a move.
    QSet<QString> stayingPaths;
    // The first item wanting each lower-cased target; -1 once a second one wants it too.
    QHash<QString, qsizetype> owners;
    owners.reserve(n);
    QList<QString> targets(n), lowerTargets(n);
    int changing = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const FileItem& item = items.at(i);
        const QString name = newName(item, int(i), selection);
        if (name == item.name) {
            stayingPaths.insert(lowerPaths[i]);
            continue;
        }
        ++changing;
        if (auto reason = validateNewName(name, item.name)) {
            result.reasons.insert(item.id, *reason);
            stayingPaths.insert(lowerPaths[i]);
            continue;
        }
        // A valid name has no "/" and is not "." or "..", so the joined path is already clean.
        const QString parent = PathText::parent(item.url);
        targets[i] = parent.endsWith(u'/') ? parent + name : parent + u'/' + name;
        lowerTargets[i] = lowerKey(targets[i]);
        const auto owner = owners.find(lowerTargets[i]);
        if (owner == owners.end())
            owners.insert(lowerTargets[i], i);
        else
            *owner = -1;
    }

    QHash<QString, QList<qsizetype>> diskChecks;  // folder → items whose target must be looked up
    const QString duplicate = L("another file in the list would get the same name", "列表里另一个文件会得到同样的名字");
    const QString exists = L("a file with this name already exists in the folder", "文件夹里已有同名文件");
    for (qsizetype i = 0; i < n; ++i) {
        if (targets[i].isEmpty())
            continue;
        const QString& lowerTarget = lowerTargets[i];
        if (owners.value(lowerTarget) < 0) {
            result.reasons.insert(items.at(i).id, duplicate);
            continue;
        }
        // Freed by another listed file's move, never by the file's own (a change of case only).
        const int others = listedAt.value(lowerTarget) - (lowerTarget == lowerPaths[i] ? 1 : 0);
        const bool freedByMove = others > 0 && !stayingPaths.contains(lowerTarget);
        // A change of letter case only still needs the disk: on a case-sensitive file system the
        // other spelling may be another file, and the lookup below tells the same file apart.
        if (freedByMove)
            continue;
        diskChecks[PathText::parent(targets[i])].append(i);
    }
    for (auto it = diskChecks.constBegin(); it != diskChecks.constEnd(); ++it) {
        const std::optional<QSet<QByteArray>> listing = folderListingFor(it.key(), it->size());
        for (qsizetype i : *it) {
            const QString& target = targets[i];
            if (listing && !listing->contains(QFile::encodeName(PathText::lastComponent(target))))
                continue;
            if (existsOnDisk(target) && !isSameFile(items.at(i).url, target))
                result.reasons.insert(items.at(i).id, exists);
        }
    }
    result.willRename = changing - int(result.reasons.size());
    return result;
}
