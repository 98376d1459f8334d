#include "smartrename/smart_rename_editors.h"

#include "model/store.h"
#include "smartrename/smart_rename_run.h"

namespace SmartRename {

namespace {
bool isBlank(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}
}  // namespace

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString taughtWordKey(const QString& word)
{
    return trimBlanks(word).toUpper();
}

QStringList taughtSplitWords(const QString& splitAs)
{
    return splitAs.split(u' ', Qt::SkipEmptyParts);
}

bool canTeach(const QString& word, const QString& splitAs)
{
    return !trimBlanks(word).isEmpty() && !trimBlanks(splitAs).isEmpty();
}

QString cutTypeVariantsText(const CutType& cutType)
{
    return cutType.variants.join(QStringLiteral(", "));
}

QStringList parseCutTypeVariants(const QString& text)
{
    QStringList out;
    for (const QString& piece : text.split(u',', Qt::SkipEmptyParts)) {
        const QString variant = trimBlanks(piece).toUpper();
        if (!variant.isEmpty())
            out << variant;
    }
    return out;
}

std::optional<QList<CustomNamingConfig::SectionKind>> movedSection(const QList<CustomNamingConfig::SectionKind>& order,
                                                                   const QStringList& dropped,
                                                                   CustomNamingConfig::SectionKind target)
{
    if (dropped.isEmpty())
        return std::nullopt;
    std::optional<CustomNamingConfig::SectionKind> dragged;
    for (CustomNamingConfig::SectionKind kind : CustomNamingConfig::allSections())
        if (CustomNamingConfig::rawValue(kind) == dropped.first())
            dragged = kind;
    if (!dragged)
        return std::nullopt;
    const qsizetype from = order.indexOf(*dragged);
    const qsizetype to = order.indexOf(target);
    if (from < 0 || to < 0 || from == to)
        return std::nullopt;
    QList<CustomNamingConfig::SectionKind> moved = order;
    moved.move(from, to);
    return moved;
}

}  // namespace SmartRename

bool SmartRenameEditors::teachWord(const QString& word, const QString& splitAs)
{
    const QString key = SmartRename::taughtWordKey(word);
    const QStringList words = SmartRename::taughtSplitWords(splitAs);
    if (key.isEmpty() || words.isEmpty())
        return false;
    QMap<QString, QStringList> splits = m_store.smart().learnedWordSplits;
    splits.insert(key, words);
    m_store.setLearnedWordSplits(splits);
    m_store.smartRun().recognize();
    return true;
}

void SmartRenameEditors::forgetWord(const QString& key)
{
    QMap<QString, QStringList> splits = m_store.smart().learnedWordSplits;
    splits.remove(key);
    m_store.setLearnedWordSplits(splits);
    m_store.smartRun().recognize();
}

void SmartRenameEditors::addCutType()
{
    QList<SmartRename::CutType> list = m_store.smart().customCutTypes;
    list.append({QUuid::createUuid(), QString(), {}});
    m_store.setCustomCutTypes(list);
}

void SmartRenameEditors::resetCutTypes()
{
    m_store.setCustomCutTypes(SmartRename::defaultCutTypes());
}

void SmartRenameEditors::deleteCutType(const QUuid& id)
{
    QList<SmartRename::CutType> list = m_store.smart().customCutTypes;
    list.removeIf([&](const SmartRename::CutType& c) { return c.id == id; });
    m_store.setCustomCutTypes(list);
}

template <typename F> void SmartRenameEditors::editCutType(const QUuid& id, F&& f)
{
    QList<SmartRename::CutType> list = m_store.smart().customCutTypes;
    for (SmartRename::CutType& c : list)
        if (c.id == id)
            f(c);
    m_store.setCustomCutTypes(list);
}

void SmartRenameEditors::setCutTypeName(const QUuid& id, const QString& name)
{
    editCutType(id, [&](SmartRename::CutType& c) { c.canonical = name; });
}

void SmartRenameEditors::setCutTypeVariants(const QUuid& id, const QString& text)
{
    const QStringList variants = SmartRename::parseCutTypeVariants(text);
    editCutType(id, [&](SmartRename::CutType& c) { c.variants = variants; });
}

void SmartRenameEditors::setNamingConfig(const SmartRename::CustomNamingConfig& config)
{
    m_store.setCustomNamingConfig(config);
}

bool SmartRenameEditors::moveSection(const QStringList& dropped, SmartRename::CustomNamingConfig::SectionKind target)
{
    SmartRename::CustomNamingConfig config = m_store.smart().customNamingConfig;
    const auto order = SmartRename::movedSection(config.sectionOrder, dropped, target);
    if (!order)
        return false;
    config.sectionOrder = *order;
    m_store.setCustomNamingConfig(config);
    return true;
}

void SmartRenameEditors::resetSectionOrder()
{
    SmartRename::CustomNamingConfig config = m_store.smart().customNamingConfig;
    config.sectionOrder = SmartRename::CustomNamingConfig::allSections();
    m_store.setCustomNamingConfig(config);
}
