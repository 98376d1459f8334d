#include "bin_categories.h"

#include "ai/ai_name.h"
#include "bin/bin_controller.h"
#include "files/item_bookkeeping.h"
#include "files/scoped_access.h"
#include "model/store.h"
#include "platform/lang.h"
#include "platform/safe_move.h"

#include <QDir>
#include <algorithm>

namespace {
const QString kColumn = QStringLiteral("Category");
const QString kKey = QStringLiteral("custom:Category");

bool isTrimmedBlank(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}
}  // namespace

QString categoryFolderName(const QString& category)
{
    qsizetype begin = 0, end = category.size();
    while (begin < end && isTrimmedBlank(category[begin]))
        ++begin;
    while (end > begin && isTrimmedBlank(category[end - 1]))
        --end;
    return category.mid(begin, end - begin).replace(u'/', u'_');
}

bool isUsableCategoryFolder(const QString& name)
{
    // A NUL would cut the path short where the file system sees it.
    return !name.isEmpty() && !name.startsWith(u'.') && !name.contains(u'/') && !name.contains(QChar(0));
}

BinCategories::BinCategories(BinController& bin, Store& store) : m_bin(bin), m_store(store)
{
    setServices({});
}

void BinCategories::setServices(Services services)
{
    if (!services.availability)
        services.availability = [] { return AIName::availability(); };
    if (!services.contentText)
        services.contentText = AIName::contentText;
    if (!services.classify)
        services.classify = AIName::classify;
    m_services = std::move(services);
}

void BinCategories::classifyWithAI()
{
    if (m_running || m_bin.busy())
        return;
    const AIName::Availability state = m_services.availability();
    if (state != AIName::Availability::available) {
        m_store.setStatus(AIName::unavailableMessage(state));
        return;
    }
    if (!m_bin.customCols().contains(kColumn))
        m_bin.setCustomCols(m_bin.customCols() + QStringList{kColumn});
    m_running = true;
    m_bin.setBusy(true);
    m_bin.setStopRequested(false);
    m_work.clear();
    for (const BinRow& row : m_bin.rows())
        if (row.url)
            m_work.append({row.id, *row.url});
    m_index = 0;
    m_classified = 0;
    m_snapshotTaken = false;
    next();
}

void BinCategories::next()
{
    if (m_index >= m_work.size() || m_bin.stopRequested())
        return finish();
    const auto [id, path] = m_work.at(m_index);
    m_services.contentText(path, this, [this, id](std::optional<QString> text) {
        if (!text) {
            ++m_index;
            return next();
        }
        ask(id, *text);
    });
}

void BinCategories::ask(const QUuid& id, const QString& text)
{
    m_services.classify(text, m_store.langZh(), this, [this, id](std::optional<QString> category) {
        store(id, category);
        ++m_index;
        next();
    });
}

// The row is looked up again: it may have been sorted or removed while the model answered.
void BinCategories::store(const QUuid& id, const std::optional<QString>& category)
{
    if (!category)
        return;
    const QList<BinRow>& rows = m_bin.rows();
    const auto it = std::find_if(rows.cbegin(), rows.cend(), [&id](const BinRow& r) { return r.id == id; });
    if (it == rows.cend())
        return;
    const int index = int(it - rows.cbegin());
    // The whole run is one undo step, taken before its first cell.
    if (!m_snapshotTaken)
        m_bin.pushToolSnapshot();
    m_snapshotTaken = true;
    m_bin.editRows([&](QList<BinRow>& all) {
        all[index].setValue(*category, kKey);
        return QList<int>{index};
    });
    ++m_classified;
}

void BinCategories::finish()
{
    const QString n = QString::number(m_classified);
    m_store.setStatus(Lang::zh() ? QString::fromUtf8("已分类 ") + n
                                       + QString::fromUtf8(" 个文件。查看「Category」列后可移动到文件夹。")
                                 : "Classified " + n + " file(s). Review the Category column, then Move to folders.");
    m_running = false;
    m_work.clear();
    m_bin.setBusy(false);
    emit finished();
}

void BinCategories::moveToCategoryFolders()
{
    int moved = 0, skipped = 0;
    MoveBatch batch;
    QList<QPair<int, QString>> newPaths;
    const QList<BinRow> rows = m_bin.rows();
    for (int i = 0; i < rows.size(); ++i) {
        const BinRow& row = rows[i];
        const QString name = categoryFolderName(row.value(kKey));
        if (!row.url || !isUsableCategoryFolder(name)) {
            ++skipped;
            continue;
        }
        const QString folder = QDir(PathText::parent(*row.url)).filePath(name);
        const QString target = folder + u'/' + PathText::lastComponent(*row.url);
        if (!QDir().mkpath(folder) || SafeMove::exists(target) || m_store.access().coordinatedMove(*row.url, target)) {
            ++skipped;
            continue;
        }
        batch.append({*row.url, target});
        newPaths.append({i, target});
        ++moved;
    }
    // One undo batch for the run: a batch per file would push older batches out of the history.
    m_store.bookkeeping().recordMovedFiles(batch);
    if (!newPaths.isEmpty())
        m_bin.editRows([&](QList<BinRow>& all) {
            QList<int> changed;
            for (const auto& [i, path] : newPaths) {
                all[i].url = path;
                changed.append(i);
            }
            return changed;
        });
    const QString m = QString::number(moved);
    const QString k = QString::number(skipped);
    if (Lang::zh())
        m_store.setStatus(
            QString::fromUtf8("已移动 ") + m + QString::fromUtf8(" 个文件到分类文件夹")
            + (skipped == 0 ? QString::fromUtf8("。") : QString::fromUtf8(",跳过 ") + k + QString::fromUtf8(" 个。")));
    else
        m_store.setStatus("Moved " + m + " file(s) into category folders"
                          + (skipped == 0 ? QStringLiteral(".") : ", " + k + " skipped."));
}
