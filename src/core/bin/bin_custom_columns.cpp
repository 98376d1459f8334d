// Custom columns added by name or as a group.
#include "bin_custom_columns.h"

#include "bin/bin_controller.h"
#include "bin/bin_desk.h"
#include "model/store.h"
#include "platform/lang.h"
#include "platform/settings.h"

#include <algorithm>

namespace {
QString trimBlanksAndTabs(QString text)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    qsizetype begin = 0, end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}
}  // namespace

void BinCustomColumns::addCustomColumn()
{
    BinDesk* desk = m_bin.desk();
    if (!desk)
        return;
    const auto answer = desk->promptCustomColumn();
    if (!answer)
        return;
    const QString name = trimBlanksAndTabs(QString(answer->first).replace(u',', u' '));
    if (name.isEmpty() || m_bin.customCols().contains(name))
        return;
    m_bin.setCustomCols(m_bin.customCols() + QStringList{name});
    if (!answer->second)
        return;
    m_store.editMeta([&name](MetaDrafts& m) { m.binCheckboxCols.insert(name); });
    QStringList names = m_store.meta().binCheckboxCols.values();
    std::sort(names.begin(), names.end());
    m_store.settings().setStringList("binCheckboxCols", names);
}

void BinCustomColumns::addColumns(const QStringList& names)
{
    QStringList cols = m_bin.customCols();
    for (const QString& name : names)
        if (!cols.contains(name))
            cols.append(name);
    if (cols != m_bin.customCols())
        m_bin.setCustomCols(cols);
    m_store.setStatus(L("Added ", "已添加 ") + QString::number(names.size()) + L(" columns.", " 列。"));
}
