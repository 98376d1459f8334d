#include "model/name_preview.h"

#include "files/rename_decision.h"
#include "model/file_dates.h"
#include "model/rule_engine.h"
#include "model/store.h"
#include "platform/in_parts.h"
#include "smartrename/smart_fix.h"

#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <vector>

namespace {

constexpr qsizetype kSmartFixBound = 50000;

BinRow rowFor(const FileItem& item, const QHash<QUuid, MetaFields>& drafts)
{
    BinRow row;
    row.id = item.id;
    row.url = item.url;
    row.kind = metaKindForPath(item.url);
    row.isDir = false;
    row.name = item.name;
    row.fields = drafts.value(item.id);
    return row;
}

// `known`, when given, is read first and left unchanged; what is worked out goes to `cache`.
QString smartFixThrough(QHash<QString, QString>& cache, const QString& stem, SmartRenameStyle style,
                        const QList<SmartRename::CutType>& cutTypes, const SmartRename::CustomNamingConfig& config,
                        const QMap<QString, QStringList>& splits, const QHash<QString, QString>* known = nullptr)
{
    if (known) {
        const auto it = known->constFind(stem);
        if (it != known->constEnd())
            return *it;
    }
    const auto cached = cache.constFind(stem);
    if (cached != cache.constEnd())
        return *cached;
    const SmartRename::Result r = SmartRename::smartFix(stem, style, cutTypes, config, splits);
    if (cache.size() >= kSmartFixBound)
        cache.clear();
    cache.insert(stem, r.corrected);
    return r.corrected;
}

// The one composition of a new name, for the Store's own state and for a snapshot of it.
template <typename SmartFixed, typename DateText>
QString composeName(const RuleSettings& rules, const NameSections& sections, const QHash<QUuid, MetaFields>& drafts,
                    int count, const FileItem& item, int index, const QSet<QUuid>& selection, SmartFixed&& smartFixed,
                    DateText&& dateText)
{
    if (!sections.scopeAllFiles && !selection.contains(item.id))
        return item.name;
    QString stem = item.stem;
    if (sections.templateEnabled && !sections.templateText.isEmpty()) {
        stem = expandTemplate(sections.templateText, templateTokens(index, rowFor(item, drafts))).text;
    } else if (sections.smartRenameEnabled) {
        stem = smartFixed(item.stem);
    } else if (sections.useAIName && item.useAI && item.aiName && !item.aiName->isEmpty()) {
        stem = *item.aiName;
    }
    stem = applyRules(rules, stem, index, count, dateText(item), rules.batchRuleOrder);
    // Read in place: most items share one extension text, and a copy per name would have the
    // threads of a check take turns at its counter.
    const bool newExt = !item.isDir && sections.extEnabled;
    const QString changed = newExt ? newExtension(sections, item.ext) : QString();
    const QStringView ext = newExt ? QStringView(changed) : QStringView(item.ext);
    if (ext.isEmpty())
        return stem;
    stem.reserve(stem.size() + 1 + ext.size());
    stem.append(u'.').append(ext);
    return stem;
}

}  // namespace

QString NamePreview::applyBatchRules(const QString& stem, int index, const QString& dateText) const
{
    const RuleSettings& rules = m_store.rules();
    return applyRules(rules, stem, index, int(m_store.items().size()), dateText, rules.batchRuleOrder);
}

BinRow NamePreview::templateRow(const FileItem& item) const
{
    return rowFor(item, m_store.meta().metaDraft);
}

QString NamePreview::newName(const FileItem& item, int index, const QSet<QUuid>& selection) const
{
    return composeName(
        m_store.rules(), m_store.sections(), m_store.meta().metaDraft, int(m_store.items().size()), item, index,
        selection, [this](const QString& stem) { return smartFixed(stem); },
        [this](const FileItem& i) { return m_store.dates().dateText(i); });
}

NamePreview::NamePreview(const Store& store)
    : m_store(store), m_cachedStyle(store.sections().smartRenameStyle), m_listings(std::make_shared<FolderListings>())
{}

NamePreview::~NamePreview() = default;

void NamePreview::dropSmartFixes() const
{
    m_smartFixCache.clear();
    ++m_smartFixGeneration;
}

void NamePreview::sectionsPublished()
{
    const SmartRenameStyle style = m_store.sections().smartRenameStyle;
    if (m_cachedStyle != style)
        dropSmartFixes();
    m_cachedStyle = style;
}

QString NamePreview::smartFixed(const QString& stem) const
{
    return smartFixThrough(m_smartFixCache, stem, m_store.sections().smartRenameStyle, m_store.smart().customCutTypes,
                           m_store.smart().customNamingConfig, m_store.smart().learnedWordSplits);
}

NameSnapshot NamePreview::snapshot(const QSet<QUuid>& selection) const
{
    NameSnapshot s;
    s.items = m_store.items();
    s.selection = selection;
    s.rules = m_store.rules();
    s.sections = m_store.sections();
    s.drafts = m_store.meta().metaDraft;
    s.cutTypes = m_store.smart().customCutTypes;
    s.namingConfig = m_store.smart().customNamingConfig;
    s.wordSplits = m_store.smart().learnedWordSplits;
    s.smartFixCache = m_smartFixCache;
    s.smartFixGeneration = m_smartFixGeneration;
    s.dates.fileDates = m_store.dates().fileDateCache();
    s.dates.texts = m_store.dates().dateStringCache();
    s.datesGeneration = m_store.dates().generation();
    return s;
}

NamePreview::ConflictResult NamePreview::conflictReasons(const QSet<QUuid>& selection) const
{
    ConflictResult result = *checkConflicts(snapshot(selection), m_listings);
    keepResults(result);
    return result;
}

void NamePreview::keepResults(ConflictResult& checked) const
{
    if (checked.smartFixGeneration == m_smartFixGeneration && checked.smartFixCache.size() > m_smartFixCache.size())
        m_smartFixCache = std::move(checked.smartFixCache);
    checked.smartFixCache.clear();
    m_store.dates().keep(checked.dates, checked.datesGeneration);
    checked.dates = {};
}

namespace {

// Parts of about this many names are shared out among threads: enough work for each to outweigh
// handing it out, and small enough to keep every thread busy on a busy machine.
constexpr qsizetype kNamesPerPart = 2048;

// One part of a list's names and what it works out beyond the snapshot's caches, which every
// part only reads.
struct NamesPart {
    qsizetype begin = 0, end = 0;
    QHash<QString, QString> smartFixed;
    DateCaches dates;
    bool done = false;
};

bool namesInto(const NameSnapshot& s, NamesPart& part, QString* names, const std::atomic<bool>* cancel)
{
    const int count = int(s.items.size());
    const auto smartFixed = [&](const QString& stem) {
        return smartFixThrough(part.smartFixed, stem, s.sections.smartRenameStyle, s.cutTypes, s.namingConfig,
                               s.wordSplits, &s.smartFixCache);
    };
    const auto dateText = [&](const FileItem& item) { return cachedDateText(s.rules, item, s.dates, part.dates); };
    for (qsizetype i = part.begin; i < part.end; ++i) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return false;
        const FileItem& item = s.items.at(i);
        names[i] = composeName(s.rules, s.sections, s.drafts, count, item, int(i), s.selection, smartFixed, dateText);
        // An unchanged name shares the item's text instead of holding a copy of its own.
        if (names[i] == item.name)
            names[i] = item.name;
    }
    return true;
}

std::vector<NamesPart> partsOf(qsizetype count)
{
    std::vector<NamesPart> parts(size_t(std::max<qsizetype>(1, (count + kNamesPerPart - 1) / kNamesPerPart)));
    for (size_t p = 0; p < parts.size(); ++p) {
        parts[p].begin = qsizetype(p) * kNamesPerPart;
        parts[p].end = std::min(count, parts[p].begin + kNamesPerPart);
    }
    return parts;
}

// Runs `work` on each part, on the shared thread pool when there are several (the calling
// thread taking part).
template <typename Work> void forEachPart(std::vector<NamesPart>& parts, Work&& work)
{
    if (parts.size() == 1)
        work(parts.front());
    else
        QtConcurrent::blockingMap(parts, work);
}

}  // namespace

std::optional<QList<QString>> snapshotNames(NameSnapshot& s, const std::atomic<bool>* cancel)
{
    std::vector<NamesPart> parts = partsOf(s.items.size());
    QList<QString> names(s.items.size());
    // Each part writes its own range of `names`, whose storage is not reallocated meanwhile, and
    // only reads the snapshot.
    QString* const out = names.data();
    const NameSnapshot& shared = s;
    forEachPart(parts, [&shared, out, cancel](NamesPart& part) { part.done = namesInto(shared, part, out, cancel); });
    for (NamesPart& part : parts) {
        if (!part.done)
            return std::nullopt;
        for (auto it = part.smartFixed.cbegin(); it != part.smartFixed.cend(); ++it)
            if (s.smartFixCache.size() < kSmartFixBound)
                s.smartFixCache.insert(it.key(), it.value());
        s.foundDates.texts.insert(part.dates.texts);
        s.foundDates.fileDates.insert(part.dates.fileDates);
    }
    return names;
}

std::optional<NamePreview::ConflictResult>
checkConflicts(NameSnapshot snapshot, const std::shared_ptr<FolderListings>& listings, const std::atomic<bool>* cancel)
{
    std::optional<QList<QString>> names = snapshotNames(snapshot, cancel);
    if (!names)
        return std::nullopt;
    const QList<FileItem>& items = snapshot.items;
    // The rows are made, and let go of afterwards, on several threads too: each touches an item's
    // texts, whose counters lie all over memory.
    QList<RenameCandidate> rows(items.size());
    RenameCandidate* const row = rows.data();
    QString* const name = names->data();
    inParts(items.size(), [&](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i)
            row[i] = RenameCandidate{items.at(i).url, items.at(i).name, std::move(name[i])};
    });
    names.reset();
    const RenameDecision decision = previewDecision(rows, listings.get());
    NamePreview::ConflictResult result;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const RenameVerdict v = decision.verdicts.at(i);
        if (v != RenameVerdict::unchanged && v != RenameVerdict::rename)
            result.reasons.insert(items.at(i).id, decision.reasonText(i));
    }
    result.willRename = decision.willRename;
    inParts(items.size(), [&](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i)
            row[i] = RenameCandidate();
    });
    result.smartFixCache = std::move(snapshot.smartFixCache);
    result.smartFixGeneration = snapshot.smartFixGeneration;
    result.dates = std::move(snapshot.foundDates);
    result.datesGeneration = snapshot.datesGeneration;
    return result;
}
