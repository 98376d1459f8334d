// Column edit tools.
#include "bin_column_tools.h"

#include "bin/bin_controller.h"
#include "bin/bin_desk.h"
#include "model/store.h"
#include "platform/lang.h"

namespace {
QString num(qsizetype n)
{
    return QString::number(n);
}
}  // namespace

QList<int> BinColumnTools::targetRows() const
{
    QList<int> out = m_bin.selectedRowIndices();
    if (!out.isEmpty())
        return out;
    const int n = int(m_bin.rows().size());
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out.append(i);
    return out;
}

std::optional<QString> BinColumnTools::ask(const QString& title, const QString& message, const QString& start)
{
    BinDesk* desk = m_bin.desk();
    if (!desk)
        return std::nullopt;
    return desk->promptText(title, message, start);
}

void BinColumnTools::copyColumn(const QString& key)
{
    QStringList values;
    for (int i : targetRows())
        values.append(m_bin.rows()[i].value(key));
    m_colClip = values;
    if (BinDesk* desk = m_bin.desk())
        desk->setClipboardText(values.join(u'\n'));
    m_store.setStatus(L("Copied column (", "已复制列(") + num(values.size()) + L(" rows).", " 行)。"));
}

void BinColumnTools::pasteColumn(const QString& key)
{
    m_bin.pushToolSnapshot();
    const QList<int> targets = targetRows();
    QList<int> changed;
    m_bin.editRows([&](QList<BinRow>& rows) {
        for (int i = 0; i < targets.size() && i < m_colClip.size(); ++i) {
            BinRow& row = rows[targets[i]];
            if (!row.isEditable(key))
                continue;
            row.setValue(m_colClip[i], key);
            changed.append(targets[i]);
        }
        return changed;
    });
    m_store.setStatus(L("Pasted column into ", "已粘贴列到 ") + num(changed.size()) + L(" rows.", " 行。"));
}

void BinColumnTools::batchInput(const QString& key, const QString& title)
{
    const QList<int> targets = targetRows();
    if (targets.isEmpty())
        return;
    const QString n = num(targets.size());
    const auto answer = ask(L("Batch input", "批量输入"),
                            Lang::zh()
                                ? QString::fromUtf8("把「") + title + QString::fromUtf8("」批量设为(") + n
                                      + QString::fromUtf8(" 行):")
                                : QString::fromUtf8("Set “") + title + QString::fromUtf8("” on ") + n + " row(s) to:",
                            {});
    if (!answer)
        return;
    m_bin.pushToolSnapshot();
    QList<int> changed;
    m_bin.editRows([&](QList<BinRow>& rows) {
        for (int i : targets)
            if (rows[i].isEditable(key)) {
                rows[i].setValue(*answer, key);
                changed.append(i);
            }
        return changed;
    });
    const QString m = num(changed.size());
    m_store.setStatus(Lang::zh()
                          ? QString::fromUtf8("已批量设置「") + title + QString::fromUtf8("」到 ") + m
                                + QString::fromUtf8(" 行。")
                          : QString::fromUtf8("Batch set “") + title + QString::fromUtf8("” on ") + m + " row(s).");
}

void BinColumnTools::fillDown()
{
    const QList<int> selected = m_bin.selectedRowIndices();
    if (selected.size() < 2)
        return;
    m_bin.pushToolSnapshot();
    const BinRow source = m_bin.rows()[selected.first()];
    QStringList keys;
    for (const BinController::FieldCol& col : m_bin.fieldColumns())
        keys.append(col.id);
    keys.append(QStringLiteral("date"));
    m_bin.editRows([&](QList<BinRow>& rows) {
        for (int i : selected.mid(1))
            for (const QString& key : keys)
                if (rows[i].isEditable(key))
                    rows[i].setValue(source.value(key), key);
        return selected.mid(1);
    });
}

void BinColumnTools::setClipNameFormula()
{
    const QList<int> targets = targetRows();
    if (targets.isEmpty())
        return;
    const QString n = num(targets.size());
    const auto formula = ask(L("Set Clip Name formula", "设置剪辑名公式"),
                             L("Formula for ", "为 ") + n
                                 + L(" row(s), e.g. %scene_%shot_%take:", " 行设置公式,例如 %scene_%shot_%take:"),
                             m_store.sections().templateText);
    if (!formula || formula->isEmpty())
        return;
    m_bin.pushToolSnapshot();
    m_bin.editRows([&](QList<BinRow>& rows) {
        for (int i : targets)
            rows[i].setValue(*formula, QStringLiteral("clipname"));
        return targets;
    });
    m_store.setStatus(L("Applied the formula to ", "已把公式应用到 ") + n
                      + L(" row(s) — Clip Name updates live as fields change.", " 行 —— 字段变了,剪辑名会自动更新。"));
}
