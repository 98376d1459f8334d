// Column edit tools and the whole-table metadata undo.
#include "bin_controller.h"

#include "model/store.h"
#include "platform/lang.h"

namespace {
QString num(qsizetype n)
{
    return QString::number(n);
}
}  // namespace

void BinController::pushMetaHistory()
{
    m_metaHistory.append(m_rows);
    if (m_metaHistory.size() > kHistoryLimit)
        m_metaHistory.removeFirst();
}

void BinController::writeRow(int index, const BinRow& row)
{
    m_rows[index] = row;
    m_store.editMeta([&row](MetaDrafts& m) { m.metaDraft.insert(row.id, row.fields); });
    emit rowsChanged();
}

// One draft edit and one change signal for a whole tool run.
void BinController::writeRows(const QList<int>& indices)
{
    if (!indices.isEmpty())
        m_store.editMeta([&](MetaDrafts& m) {
            for (int i : indices)
                m.metaDraft.insert(m_rows[i].id, m_rows[i].fields);
        });
    emit rowsChanged();
}

QList<int> BinController::targetRows() const
{
    QList<int> out = selectedRowIndices();
    if (!out.isEmpty())
        return out;
    out.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i)
        out.append(i);
    return out;
}

std::optional<QString> BinController::ask(const QString& title, const QString& message, const QString& start)
{
    if (!m_desk)
        return std::nullopt;
    return m_desk->promptText(title, message, start);
}

void BinController::copyColumn(const QString& key)
{
    QStringList values;
    for (int i : targetRows())
        values.append(m_rows[i].value(key));
    m_colClip = values;
    if (m_desk)
        m_desk->setClipboardText(values.join(u'\n'));
    setStatus(L("Copied column (", "已复制列(") + num(values.size()) + L(" rows).", " 行)。"));
}

void BinController::pasteColumn(const QString& key)
{
    pushMetaHistory();
    m_lastEditKey.reset();
    const QList<int> targets = targetRows();
    QList<int> changed;
    for (int i = 0; i < targets.size() && i < m_colClip.size(); ++i) {
        BinRow& row = m_rows[targets[i]];
        if (!row.isEditable(key))
            continue;
        row.setValue(m_colClip[i], key);
        changed.append(targets[i]);
    }
    writeRows(changed);
    setStatus(L("Pasted column into ", "已粘贴列到 ") + num(changed.size()) + L(" rows.", " 行。"));
}

void BinController::batchInput(const QString& key, const QString& title)
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
    pushMetaHistory();
    m_lastEditKey.reset();
    QList<int> changed;
    for (int i : targets)
        if (m_rows[i].isEditable(key)) {
            m_rows[i].setValue(*answer, key);
            changed.append(i);
        }
    writeRows(changed);
    const QString m = num(changed.size());
    setStatus(Lang::zh() ? QString::fromUtf8("已批量设置「") + title + QString::fromUtf8("」到 ") + m
                               + QString::fromUtf8(" 行。")
                         : QString::fromUtf8("Batch set “") + title + QString::fromUtf8("” on ") + m + " row(s).");
}

void BinController::fillDown()
{
    const QList<int> selected = selectedRowIndices();
    if (selected.size() < 2)
        return;
    pushMetaHistory();
    m_lastEditKey.reset();
    const BinRow source = m_rows[selected.first()];
    QStringList keys;
    for (const FieldCol& col : fieldColumns())
        keys.append(col.id);
    keys.append(QStringLiteral("date"));
    for (int i : selected.mid(1))
        for (const QString& key : keys)
            if (m_rows[i].isEditable(key))
                m_rows[i].setValue(source.value(key), key);
    writeRows(selected.mid(1));
}

void BinController::setClipNameFormula()
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
    pushMetaHistory();
    m_lastEditKey.reset();
    for (int i : targets)
        m_rows[i].setValue(*formula, QStringLiteral("clipname"));
    writeRows(targets);
    setStatus(L("Applied the formula to ", "已把公式应用到 ") + n
              + L(" row(s) — Clip Name updates live as fields change.", " 行 —— 字段变了,剪辑名会自动更新。"));
}

void BinController::undoMetaEdit()
{
    if (m_metaHistory.isEmpty()) {
        setStatus(L("No metadata edit to undo.", "无元数据编辑可撤销。"));
        return;
    }
    m_rows = m_metaHistory.takeLast();
    m_lastEditKey.reset();
    QList<int> all;
    all.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i)
        all.append(i);
    writeRows(all);
    setStatus(L("Undid metadata edit.", "已撤销元数据编辑。"));
}

QString BinController::kindLabel(const BinRow& row)
{
    if (row.isDir)
        return L("Folder", "文件夹");
    switch (row.kind) {
    case MetaKind::image: return L("Image", "图片");
    case MetaKind::pdf: return QStringLiteral("PDF");
    case MetaKind::video: return L("Video", "视频");
    case MetaKind::unsupported: break;
    }
    return QString::fromUtf8("—");
}
