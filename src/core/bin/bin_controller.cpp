#include "bin_controller.h"

#include "bin/bin_categories.h"
#include "bin/bin_column_tools.h"
#include "bin/bin_custom_columns.h"
#include "bin/bin_duplicates.h"
#include "bin/bin_export_presets.h"
#include "bin/bin_logging.h"
#include "bin/bin_presets.h"
#include "bin/bin_proxies.h"
#include "bin/bin_row_actions.h"
#include "bin/bin_save.h"
#include "bin/bin_sort.h"
#include "bin/bin_translator.h"
#include "bin/quick_edit.h"
#include "files/intake.h"
#include "metadata/metadata_reader.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace {
using Results = QList<QPair<QUuid, MetaFields>>;

MetaFields emptyFields(MetaKind kind)
{
    MetaFields f;
    f.kind = kind;
    return f;
}

QList<QUuid> idsOf(const QList<FileItem>& items)
{
    QList<QUuid> ids;
    ids.reserve(items.size());
    for (const FileItem& item : items)
        ids.append(item.id);
    return ids;
}
}  // namespace

BinController::BinController(Store& store)
    : m_store(store), m_columnTools(std::make_unique<BinColumnTools>(*this, store)),
      m_rowActions(std::make_unique<BinRowActions>(*this, store)),
      m_customColumns(std::make_unique<BinCustomColumns>(*this, store)),
      m_presets(std::make_unique<BinPresets>(*this, store)),
      m_exportPresets(std::make_unique<BinExportPresets>(*this, store)),
      m_categories(std::make_unique<BinCategories>(*this, store)),
      m_translator(std::make_unique<BinTranslator>(*this, store)),
      m_proxies(std::make_unique<BinProxies>(*this, store)), m_logging(std::make_unique<BinLogging>(store, *this)),
      m_duplicates(std::make_unique<BinDuplicates>(*this, store)), m_save(std::make_unique<BinSave>(store, *this))
{
    // One slice at a time, always on the same thread, which keeps its per-thread reader caches.
    m_stillPool.setMaxThreadCount(1);
    connect(&m_store, &Store::itemsChanged, this, [this] {
        if (m_shown && idsOf(m_store.items()) != m_itemIds)
            syncAndSortRows();
    });
    connect(&m_store, &Store::metaChanged, this, [this] {
        if (m_shown)
            mergeColumnIds();
    });
}

BinController::~BinController()
{
    {
        QMutexLocker lock(&m_readMutex);
        m_stopping = true;
    }
    m_stillPool.waitForDone();
}

void BinController::setRows(QList<BinRow> rows)
{
    m_rows = std::move(rows);
    emit rowsChanged();
}

void BinController::setSelection(QSet<QUuid> ids)
{
    m_selection = std::move(ids);
    emit selectionChanged();
}

void BinController::setBusy(bool on)
{
    m_busy = on;
    emit busyChanged();
}

void BinController::applyColumnLayout(const QJsonObject& customization)
{
    m_colcust = customization;
    ++m_tableID;
    emit columnsChanged();
}

void BinController::pushToolSnapshot()
{
    pushMetaHistory();
    m_lastEditKey.reset();
}

void BinController::setCustomCols(const QStringList& names)
{
    m_customCols = names;
    m_store.editMeta([&names](MetaDrafts& m) { m.binCustomCols = names; });
    emit columnsChanged();
}

void BinController::mergeColumnIds()
{
    QStringList merged = m_customCols;
    for (const QString& name : m_store.meta().binCustomCols)
        if (!merged.contains(name))
            merged.append(name);
    if (merged.size() == m_customCols.size())
        return;
    m_customCols = merged;
    emit columnsChanged();
}

QList<BinController::FieldCol> BinController::fieldColumns() const
{
    QList<FieldCol> cols;
    for (const QString& key : binFieldKeys())
        cols.append({key, binFieldTitle(key)});
    for (const QString& name : m_customCols)
        cols.append({QStringLiteral("custom:") + name, name});
    return cols;
}

QList<int> BinController::selectedRowIndices() const
{
    QList<int> out;
    if (m_selection.isEmpty())
        return out;
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_selection.contains(m_rows[i].id))
            out.append(i);
    return out;
}

QString BinController::statusText() const
{
    const qsizetype n = m_rows.size();
    QStringList parts = {Lang::zh() ? QString::number(n) + QString::fromUtf8(" 个片段")
                                    : QString::number(n) + (n == 1 ? " clip" : " clips")};
    if (const qsizetype k = selectedRowIndices().size())
        parts.append(Lang::zh() ? QString::fromUtf8("已选 ") + QString::number(k) : QString::number(k) + " selected");
    const qsizetype m = std::count_if(m_rows.cbegin(), m_rows.cend(), [](const BinRow& r) { return r.isOffline(); });
    if (m)
        parts.append(QString::number(m) + (Lang::zh() ? QString::fromUtf8(" 离线") : QStringLiteral(" offline")));
    return parts.join(QString::fromUtf8(" · "));
}

// ---- cell edits ----

void BinController::commitFieldEdit(const QString& text, const QUuid& id, const QString& column)
{
    const int index = indexOf(id);
    if (index < 0)
        return;
    const QString editKey = QuickEdit::cellFocusKey(id, column);
    if (m_lastEditKey != editKey) {
        pushMetaHistory();
        m_lastEditKey = editKey;
    }
    BinRow& row = m_rows[index];
    row.setValue(text, column);
    m_store.editMeta([&row](MetaDrafts& m) { m.metaDraft.insert(row.id, row.fields); });
    emit rowEdited(id);
}

void BinController::commitCellEdit(bool on, const QUuid& id, const QString& column)
{
    const int index = indexOf(id);
    if (index < 0)
        return;
    pushMetaHistory();
    m_lastEditKey.reset();
    BinRow& row = m_rows[index];
    row.setValue(on ? QStringLiteral("1") : QString(), column);
    m_store.editMeta([&row](MetaDrafts& m) { m.metaDraft.insert(row.id, row.fields); });
    emit rowEdited(id);
}

void BinController::sortRows(const QList<BinSortKey>& order)
{
    m_sortOrder = binRowLess(order);
    sortBinRows(m_rows, order);
    emit rowsChanged();
}

// ---- screen life ----

void BinController::onAppear()
{
    m_shown = true;
    if (m_customCols.isEmpty() && !m_store.meta().binCustomCols.isEmpty()) {
        m_customCols = m_store.meta().binCustomCols;
        emit columnsChanged();
    }
    mergeColumnIds();
    if (m_rows.isEmpty()) {
        resetRows();
    } else {
        // Edits made in the other modes while the bin was hidden reached only the drafts.
        m_rows = mergeDraftsIntoRows();
        syncRows();
    }
    m_presets->refreshBinPresetNames();
}

void BinController::onDisappear()
{
    m_shown = false;
}

QList<BinRow> BinController::mergeDraftsIntoRows() const
{
    QList<BinRow> rows = m_rows;
    const auto& drafts = m_store.meta().metaDraft;
    for (BinRow& row : rows) {
        if (row.isOffline())
            continue;
        const auto draft = drafts.constFind(row.id);
        if (draft != drafts.cend() && *draft != row.fields)
            row.fields = *draft;
    }
    return rows;
}

void BinController::resetRows()
{
    m_rows.clear();
    m_metaHistory.clear();
    m_lastEditKey.reset();
    syncRows();
}

void BinController::syncAndSortRows()
{
    syncRows();
    if (m_sortOrder) {
        std::stable_sort(m_rows.begin(), m_rows.end(), m_sortOrder);
        emit rowsChanged();
    }
}

void BinController::syncRows()
{
    const QList<FileItem>& items = m_store.items();
    m_itemIds = idsOf(items);
    const QSet<QUuid> itemIds(m_itemIds.cbegin(), m_itemIds.cend());
    m_rows.removeIf([&itemIds](const BinRow& r) { return !r.isOffline() && !itemIds.contains(r.id); });

    QSet<QUuid> rowIds;
    rowIds.reserve(m_rows.size());
    for (const BinRow& row : m_rows)
        rowIds.insert(row.id);
    const bool anyNew = std::any_of(items.cbegin(), items.cend(),
                                    [&rowIds](const FileItem& item) { return !rowIds.contains(item.id); });
    if (!anyNew) {
        emit rowsChanged();
        return;
    }
    SyncQueues queues;
    m_store.editMeta([&](MetaDrafts& meta) { addRowsFor(items, rowIds, meta, queues); });
    emit rowsChanged();
    enqueue(std::move(queues));
}

// Appends a row for every item without one, relinking offline rows of the same name first.
void BinController::addRowsFor(const QList<FileItem>& items, QSet<QUuid>& rowIds, MetaDrafts& meta, SyncQueues& queues)
{
    QHash<QString, QList<int>> offlineByName;  // table order, so the first match is taken
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].isOffline())
            offlineByName[m_rows[i].name].append(i);
    m_rows.reserve(m_rows.size() + items.size() - rowIds.size());
    meta.metaDraft.reserve(meta.metaDraft.size() + items.size());
    meta.metaOriginal.reserve(meta.metaOriginal.size() + items.size());
    for (const FileItem& item : items) {
        if (rowIds.contains(item.id))
            continue;
        rowIds.insert(item.id);
        auto offline = offlineByName.find(item.name);
        if (offline != offlineByName.end() && !offline->isEmpty()) {
            relinkOffline(offline->takeFirst(), item, meta, queues);
            continue;
        }
        BinRow row;
        row.id = item.id;
        row.url = item.url;
        row.isDir = item.isDir;
        row.name = item.name;
        row.kind = metaKindForPath(item.url);
        const auto draft = meta.metaDraft.constFind(item.id);
        const bool hadDraft = draft != meta.metaDraft.cend();
        row.fields = hadDraft ? *draft : emptyFields(row.kind);
        if (!meta.metaOriginal.contains(item.id))
            meta.metaOriginal.insert(item.id, row.fields);
        if (!hadDraft) {
            meta.metaDraft.insert(item.id, row.fields);
            queueRead(row, queues);
        }
        m_rows.append(std::move(row));
    }
}

void BinController::queueRead(const BinRow& row, SyncQueues& queues)
{
    if (row.kind == MetaKind::video)
        queues.videos.append({row.id, *row.url});
    else if (row.kind == MetaKind::image || row.kind == MetaKind::pdf)
        queues.stills.append({row.id, *row.url});
}

// The file is read like any new one; its row keeps the imported cells as unsaved edits until
// the read lands and they are laid over what the file says.
void BinController::relinkOffline(int index, const FileItem& item, MetaDrafts& meta, SyncQueues& queues)
{
    BinRow& row = m_rows[index];
    row.id = item.id;
    row.url = item.url;
    row.newExt.reset();
    meta.metaOriginal.insert(item.id, emptyFields(row.kind));
    meta.metaDraft.insert(item.id, row.fields);
    const qsizetype queued = queues.stills.size() + queues.videos.size();
    queueRead(row, queues);
    if (queues.stills.size() + queues.videos.size() > queued)
        m_relinked.insert(item.id);
}

void BinController::reloadMetadata()
{
    m_store.editMeta([this](MetaDrafts& m) {
        for (const FileItem& item : m_store.items()) {
            m.metaDraft.remove(item.id);
            m.metaOriginal.remove(item.id);
        }
    });
    m_relinked.clear();
    resetRows();
}

void BinController::loadMediaDrive()
{
    if (!m_desk)
        return;
    const QStringList folders = m_desk->chooseFolders(L("Load Media", "载入媒体"),
                                                      L("Choose a media folder or drive (scanned recursively).",
                                                        "选择媒体文件夹或盘(递归扫描)。"));
    if (folders.isEmpty())
        return;
    for (const QString& folder : folders)
        m_store.intake().loadMediaDrive(folder);
    syncRows();
}

// ---- background reads ----

void BinController::enqueue(SyncQueues queues)
{
    bool startStills = false;
    {
        QMutexLocker lock(&m_readMutex);
        const auto add = [this](QList<ReadJob>& queue, const QList<ReadJob>& jobs) {
            for (const ReadJob& job : jobs)
                if (!m_queued.contains(job.first)) {
                    m_queued.insert(job.first);
                    queue.append(job);
                }
        };
        add(m_stillQueue, queues.stills);
        add(m_videoQueue, queues.videos);
        startStills = !m_stillQueue.isEmpty() && !m_stillWorker;
        m_stillWorker = m_stillWorker || startStills;
    }
    if (startStills) {
        m_readingStills = true;
        // The worker reports through queued calls; nothing waits on the future.
        (void)QtConcurrent::run(&m_stillPool,
                                [this, reader = m_store.services().metadataReader] { readStills(*reader); });
    }
    if (!m_readingVideo)
        readNextVideo();
}

bool BinController::loading() const
{
    return m_readingStills || m_readingVideo;
}

// On the worker: one slice at a time until the queue is empty. Each slice goes to the GUI thread
// as soon as it is read, so the next one need not wait for it to be applied.
void BinController::readStills(const MetadataReader& reader)
{
    for (;;) {
        QList<ReadJob> slice;
        {
            QMutexLocker lock(&m_readMutex);
            if (m_stopping || m_stillQueue.isEmpty()) {
                m_stillWorker = false;
                break;
            }
            slice = m_stillQueue.mid(0, kSliceSize);
            m_stillQueue.remove(0, slice.size());
            for (const ReadJob& job : slice)
                m_queued.remove(job.first);
        }
        Results results;
        results.reserve(slice.size());
        for (const ReadJob& job : slice)
            results.append({job.first, reader.readImageOrPDF(job.second)});
        QMetaObject::invokeMethod(
            this, [this, results] { applyBatch(results); }, Qt::QueuedConnection);
    }
    // Queued after the last slice's results, so loading() turns false only once they are in.
    QMetaObject::invokeMethod(
        this,
        [this] {
            QMutexLocker lock(&m_readMutex);
            m_readingStills = m_stillWorker;
        },
        Qt::QueuedConnection);
}

void BinController::readNextVideo()
{
    ReadJob job;
    {
        QMutexLocker lock(&m_readMutex);
        m_readingVideo = !m_videoQueue.isEmpty();
        if (!m_readingVideo)
            return;
        job = m_videoQueue.takeFirst();
        m_queued.remove(job.first);
    }
    m_store.metadataReader()
        .read(job.second)
        .then(this,
              [this, id = job.first](const MetaFields& fields) {
                  applyBatch({{id, fields}});
                  readNextVideo();
              })
        .onCanceled(this, [this] { readNextVideo(); });
}

void BinController::applyLoadedMetadata(const QUuid& id, const MetaFields& loaded)
{
    applyBatch({{id, loaded}});
}

void BinController::applyBatch(const QList<QPair<QUuid, MetaFields>>& results)
{
    QList<QUuid> applied;
    m_store.editMeta([&](MetaDrafts& m) {
        for (const auto& [id, loaded] : results)
            if (applyOne(id, loaded, m.metaOriginal, m.metaDraft))
                applied.append(id);
    });
    if (!applied.isEmpty())
        emit rowsLoaded(applied);
}

bool BinController::applyOne(const QUuid& id, const MetaFields& loaded, QHash<QUuid, MetaFields>& originals,
                             QHash<QUuid, MetaFields>& drafts)
{
    const int index = indexOf(id);
    const bool relinked = m_relinked.remove(id);
    if (index < 0)
        return false;
    BinRow& row = m_rows[index];
    if (relinked) {
        row.fields = overlaidBy(loaded, row.fields);
        originals.insert(id, loaded);
        drafts.insert(id, row.fields);
        return true;
    }
    const auto original = originals.constFind(id);
    if (original == originals.cend() || *original != row.fields)
        return false;  // edited since the row was built: the edit wins
    row.fields = loaded;
    originals.insert(id, loaded);
    drafts.insert(id, loaded);
    return true;
}

int BinController::indexOf(const QUuid& id) const
{
    // Results come in table order, so the search starts where the last one was found.
    const qsizetype n = m_rows.size();
    for (qsizetype k = 0; k < n; ++k) {
        const qsizetype i = (m_findHint + k) % n;
        if (m_rows[i].id == id) {
            m_findHint = i + 1;
            return int(i);
        }
    }
    return -1;
}

// ---- edits and the whole-table undo ----

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

void BinController::undoMetaEdit()
{
    if (m_metaHistory.isEmpty()) {
        setStatus(L("No metadata edit to undo.", "无元数据编辑可撤销。"));
        return;
    }
    // A file moved since the snapshot (into a category folder) stays where it is: undo takes
    // back cells, not moves, and a row pointing at the old place would lose its file.
    QHash<QUuid, std::optional<QString>> currentURL;
    for (const BinRow& row : m_rows)
        currentURL.insert(row.id, row.url);
    m_rows = m_metaHistory.takeLast();
    for (BinRow& row : m_rows)
        if (const auto it = currentURL.constFind(row.id); it != currentURL.cend())
            row.url = *it;
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

void BinController::setStatus(const QString& text)
{
    m_store.setStatus(text);
}
