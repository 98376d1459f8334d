#include "bin_save.h"

#include "bin/bin_controller.h"
#include "bin/bin_desk.h"
#include "files/item_bookkeeping.h"
#include "files/scoped_access.h"
#include "metadata/metadata_writer.h"
#include "model/file_item.h"
#include "model/name_validation.h"
#include "platform/lang.h"

#include <QDir>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

namespace {
QString num(int n)
{
    return QString::number(n);
}

bool hasNameChange(const BinRow& row)
{
    return row.url && row.pendingName && *row.pendingName != PathText::lastComponent(*row.url);
}

bool hasExtensionChange(const BinRow& row)
{
    return row.url && row.newExt && !row.newExt->isEmpty()
        && *row.newExt != PathText::extension(PathText::lastComponent(*row.url));
}
}  // namespace

BinSave::BinSave(Store& store, BinController& bin) : m_store(store), m_bin(bin) {}

BinSave::~BinSave()
{
    // A movie being rewritten finishes its swap; the file is never left half-written.
    m_videoWrite.waitForFinished();
}

QString BinSave::label(int pending)
{
    if (pending < 1)
        return L("Save all changes", "保存全部更改");
    return L("Save all changes (", "保存全部更改(") + num(pending) + QStringLiteral(")");
}

QString BinSave::statusText(const Counts& c)
{
    QString text;
    if (Lang::zh()) {
        text = QString::fromUtf8("已保存 ") + num(c.saved) + QString::fromUtf8(" 个");
        if (c.renamed > 0)
            text += QString::fromUtf8("、重命名 ") + num(c.renamed) + QString::fromUtf8(" 个");
        text += c.offline > 0 ? QString::fromUtf8(";") + num(c.offline) + QString::fromUtf8(" 个离线(请先 relink)。")
                              : QString::fromUtf8("。");
        if (c.refused > 0)
            text += num(c.refused) + QString::fromUtf8(" 个名称未采用:不能包含“/”、不能为空,也不能以“.”开头。");
        if (c.failed > 0)
            text += num(c.failed) + QString::fromUtf8(" 项更改未能应用。");
        return text;
    }
    text = "Saved " + num(c.saved) + " file(s)";
    if (c.renamed > 0)
        text += ", " + num(c.renamed) + " renamed";
    text += c.offline > 0 ? ". " + num(c.offline) + " offline (relink first)." : QStringLiteral(".");
    if (c.refused > 0)
        text += " " + num(c.refused)
              + QString::fromUtf8(" name(s) not used: “/”, an empty name or a hiding “.” isn't allowed.");
    if (c.failed > 0)
        text += " " + num(c.failed) + " change(s) could not be applied.";
    return text;
}

bool BinSave::hasMetadataChange(const BinRow& row, const MetaDrafts& meta)
{
    return row.fields != meta.metaOriginal.value(row.id, MetaFields{});
}

void BinSave::saveAll()
{
    if (m_running || !confirmRenames())
        return;
    m_running = true;
    m_bin.setBusy(true);
    m_ids.clear();
    for (const BinRow& row : m_bin.rows())
        m_ids.append(row.id);
    m_next = 0;
    m_counts = {};
    m_moves.clear();
    step();
}

bool BinSave::confirmRenames()
{
    int n = 0;
    for (const BinRow& row : m_bin.rows())
        n += hasNameChange(row) || hasExtensionChange(row) ? 1 : 0;
    if (n == 0)
        return true;
    BinDesk* desk = m_bin.desk();
    return desk
        && desk->confirm(
            L("Rename " + num(n) + " file(s) on disk?", "要在磁盘上重命名 " + num(n) + " 个文件吗?"),
            L("You edited the Name/Ext column for these rows. Saving changes the actual file name on disk, not just "
              "this table. This can be undone with Ctrl+Z.",
              "你编辑了这些行的「名称」/「后缀」列。保存会更改磁盘上的实际文件名,不只是这个表格。可以用 Ctrl+Z 撤销。"),
            L("Rename & Save", "重命名并保存"), L("Cancel", "取消"));
}

// Rows are looked up by id at every step: the table may change while a movie is written.
void BinSave::step()
{
    while (m_next < m_ids.size()) {
        const QUuid id = m_ids.at(m_next++);
        const int index = indexOf(id);
        if (index < 0)
            continue;
        BinRow row = m_bin.rows().at(index);
        if (row.isOffline()) {
            ++m_counts.offline;
            continue;
        }
        saveName(row);
        saveExtension(row);
        putRow(row);
        if (!saveMetadata(row))
            return;
    }
    finish();
}

void BinSave::saveName(BinRow& row)
{
    if (!hasNameChange(row))
        return;
    const QString current = PathText::lastComponent(*row.url);
    if (validateNewName(*row.pendingName, current)) {
        ++m_counts.refused;
        return;
    }
    if (moveRow(row, QDir(PathText::parent(*row.url)).filePath(*row.pendingName)))
        row.pendingName.reset();
}

// A new extension is checked as the whole new name would be.
void BinSave::saveExtension(BinRow& row)
{
    if (!hasExtensionChange(row))
        return;
    const QString current = PathText::lastComponent(*row.url);
    const QString proposed = PathText::withoutExtension(current) + QLatin1Char('.') + *row.newExt;
    if (validateNewName(proposed, current)) {
        ++m_counts.refused;
        return;
    }
    if (moveRow(row, QDir(PathText::parent(*row.url)).filePath(proposed)))
        row.newExt.reset();
}

bool BinSave::moveRow(BinRow& row, const QString& target)
{
    const QString from = *row.url;
    const bool occupied = QFileInfo::exists(target) || QFileInfo(target).isSymLink();
    if ((occupied && !isSameFile(from, target)) || m_store.access().coordinatedMove(from, target)) {
        ++m_counts.failed;
        return false;
    }
    m_moves.append({from, target});
    row.url = target;
    // The row's name follows the file, so the table and exports carry the name on disk.
    row.name = PathText::lastComponent(target);
    ++m_counts.renamed;
    return true;
}

bool BinSave::saveMetadata(const BinRow& row)
{
    if (!hasMetadataChange(row, m_store.meta()))
        return true;
    const MetaFields resolved = row.resolvedFields();
    const QString path = *row.url;
    if (metaKindForPath(path) != MetaKind::video) {
        metadataWritten(row.id, row.fields, MetadataWriter::writeImageOrPDF(resolved, path));
        return true;
    }
    m_videoWrite.disconnect(this);
    connect(&m_videoWrite, &QFutureWatcher<bool>::finished, this, [this, id = row.id, typed = row.fields] {
        metadataWritten(id, typed, m_videoWrite.result());
        step();
    });
    m_videoWrite.setFuture(QtConcurrent::run([resolved, path] { return MetadataWriter::writeVideo(resolved, path); }));
    return false;
}

void BinSave::metadataWritten(const QUuid& id, const MetaFields& typed, bool ok)
{
    if (!ok) {
        ++m_counts.failed;
        return;
    }
    ++m_counts.saved;
    // The fields as typed (formulas unexpanded) become the baseline, so the row is no longer changed.
    m_store.editMeta([&](MetaDrafts& m) { m.metaOriginal.insert(id, typed); });
}

void BinSave::finish()
{
    m_store.setStatus(statusText(m_counts));
    m_store.bookkeeping().recordMovedFiles(m_moves);
    m_running = false;
    m_bin.setBusy(false);
    emit finished();
}

int BinSave::indexOf(const QUuid& id) const
{
    const QList<BinRow>& rows = m_bin.rows();
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i).id == id)
            return i;
    return -1;
}

void BinSave::putRow(const BinRow& row)
{
    const int index = indexOf(row.id);
    if (index >= 0 && m_bin.rows().at(index) != row)
        m_bin.writeRow(index, row);
}
