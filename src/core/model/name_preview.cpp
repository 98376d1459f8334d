#include "model/name_preview.h"

#include "files/rename_decision.h"
#include "model/file_dates.h"
#include "model/rule_engine.h"
#include "model/store.h"
#include "smartrename/smart_fix.h"

namespace {

constexpr qsizetype kSmartFixBound = 50000;

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
    QList<RenameCandidate> rows;
    rows.reserve(items.size());
    for (qsizetype i = 0; i < items.size(); ++i) {
        const FileItem& item = items.at(i);
        rows << RenameCandidate{item.url, item.name, newName(item, int(i), selection)};
    }
    const RenameDecision decision = decideRenames(rows, targetsTakenOnDisk);
    ConflictResult result;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const RenameVerdict v = decision.verdicts.at(i);
        if (v != RenameVerdict::unchanged && v != RenameVerdict::rename)
            result.reasons.insert(items.at(i).id, decision.reasonText(i));
    }
    result.willRename = decision.willRename;
    return result;
}
