#include "metadata/metadata_drafts.h"

#include "bin/bin_columns.h"
#include "metadata/metadata_reader.h"
#include "metadata/metadata_writer.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QtConcurrent>

std::optional<FileItem> primaryItem(const QList<FileItem>& items, const QSet<QUuid>& selection)
{
    for (const FileItem& item : items)
        if (selection.contains(item.id))
            return item;
    return std::nullopt;
}

QList<FileItem> targetItems(const QList<FileItem>& items, const QSet<QUuid>& selection)
{
    QList<FileItem> out;
    const auto primary = primaryItem(items, selection);
    if (!primary)
        return out;
    const MetaKind kind = metaKindForPath(primary->url);
    for (const FileItem& item : items)
        if (selection.contains(item.id) && metaKindForPath(item.url) == kind)
            out << item;
    return out;
}

QString metaKindLabel(const FileItem& item)
{
    if (item.isDir)
        return L("Folder", "文件夹");
    switch (metaKindForPath(item.url)) {
    case MetaKind::image: return L("Image", "图片");
    case MetaKind::pdf: return QStringLiteral("PDF");
    case MetaKind::video: return L("Video", "视频");
    case MetaKind::unsupported: break;
    }
    return QStringLiteral("—");
}

MetaFields withEditedFields(const MetaFields& own, const MetaFields& edited)
{
    MetaFields out = own;
    out.date = edited.date;
    out.caption = edited.caption;
    out.byline = edited.byline;
    out.copyright = edited.copyright;
    out.keywords = edited.keywords;
    out.title = edited.title;
    out.author = edited.author;
    out.subject = edited.subject;
    out.city = edited.city;
    out.country = edited.country;
    out.gps = edited.gps;
    out.desc = edited.desc;
    out.clipName = edited.clipName;
    const QStringList& technical = BinColumns::technical();
    for (auto it = out.custom.begin(); it != out.custom.end();)
        it = technical.contains(it.key()) ? std::next(it) : out.custom.erase(it);
    for (auto it = edited.custom.cbegin(); it != edited.custom.cend(); ++it)
        if (!technical.contains(it.key()))
            out.custom.insert(it.key(), it.value());
    return out;
}

void DraftHistory::push(const MetaFields& draft)
{
    m_entries.append(draft);
    if (m_entries.size() > kLimit)
        m_entries.removeFirst();
}

std::optional<MetaFields> DraftHistory::takeNewest()
{
    if (m_entries.isEmpty())
        return std::nullopt;
    return m_entries.takeLast();
}

MetadataDrafts::MetadataDrafts(Store& store) : m_store(store)
{
    m_writer.setMaxThreadCount(1);
}

MetadataDrafts::~MetadataDrafts()
{
    // A file half swapped in must not be left behind; its result has nowhere to go.
    m_writer.waitForDone();
}

MetadataDrafts::Loaded MetadataDrafts::load(const FileItem& item)
{
    m_shown = item.id;
    const auto entry = m_store.meta().metaDraft.constFind(item.id);
    if (entry != m_store.meta().metaDraft.cend())
        return {*entry, false};
    if (metaKindForPath(item.url) == MetaKind::video) {
        MetaFields placeholder;
        placeholder.kind = MetaKind::video;
        if (!m_reading.contains(item.id)) {
            m_reading.insert(item.id);
            m_store.metadataReader().readThen(
                item.url, this, [this, id = item.id](const MetaFields& fields) { finishRead(id, fields); },
                [this, id = item.id] { m_reading.remove(id); });
        }
        return {placeholder, true};
    }
    const MetaFields read = m_store.metadataReader().readImageOrPDF(item.url);
    m_store.editMeta([&](MetaDrafts& m) {
        m.metaDraft.insert(item.id, read);
        m.metaOriginal.insert(item.id, read);
    });
    return {read, false};
}

void MetadataDrafts::finishRead(const QUuid& id, const MetaFields& fields)
{
    m_reading.remove(id);
    if (m_shown != id)
        return;
    m_store.editMeta([&](MetaDrafts& m) {
        m.metaDraft.insert(id, fields);
        m.metaOriginal.insert(id, fields);
    });
    emit draftRead(id);
}

void MetadataDrafts::setShown(std::optional<QUuid> id)
{
    m_shown = id;
}

void MetadataDrafts::storeDraft(const QUuid& id, const MetaFields& draft)
{
    if (m_reading.contains(id))
        return;
    const auto entry = m_store.meta().metaDraft.constFind(id);
    if (entry != m_store.meta().metaDraft.cend() && *entry == draft)
        return;
    m_store.editMeta([&](MetaDrafts& m) { m.metaDraft.insert(id, draft); });
}

void MetadataDrafts::revert(const QSet<QUuid>& ids)
{
    m_store.editMeta([&](MetaDrafts& m) {
        for (const QUuid& id : ids)
            m.metaDraft.remove(id);
    });
}

void MetadataDrafts::rememberCustomKey(const QString& key)
{
    if (m_store.meta().binCustomCols.contains(key))
        return;
    m_store.editMeta([&](MetaDrafts& m) { m.binCustomCols.append(key); });
}

void MetadataDrafts::save(const QList<FileItem>& targets, const QUuid& shownId, const MetaFields& draft)
{
    if (busy() || targets.isEmpty())
        return;
    start(Job{false, targets, shownId, draft});
}

void MetadataDrafts::applyToAll(const QUuid& shownId, const MetaFields& draft)
{
    if (busy())
        return;
    QList<FileItem> files;
    for (const FileItem& item : m_store.items())
        if (metaKindForPath(item.url) == draft.kind)
            files << item;
    start(Job{true, files, shownId, draft});
}

void MetadataDrafts::start(Job job)
{
    m_job = std::move(job);
    emit busyChanged(true);
    writeNext();
}

void MetadataDrafts::writeNext()
{
    Job& job = *m_job;
    if (job.next >= job.files.size()) {
        finishJob();
        return;
    }
    const FileItem file = job.files.at(job.next++);
    // Edits made while earlier files were written reach this one.
    const MetaFields draft = m_store.meta().metaDraft.value(job.shownId, job.draft);
    job.draft = draft;
    const MetaDrafts& meta = m_store.meta();
    const bool hasEntry = meta.metaDraft.contains(file.id) || meta.metaOriginal.contains(file.id);
    const bool readBack = file.id != job.shownId && (!job.apply || hasEntry);
    const bool video = metaKindForPath(file.url) == MetaKind::video;
    const std::shared_ptr<MetadataReader> reader = m_store.services().metadataReader;
    QtConcurrent::run(&m_writer, [path = file.url, draft, video, readBack, reader] {
        Outcome o;
        o.ok = video ? MetadataWriter::writeVideo(draft, path) : MetadataWriter::writeImageOrPDF(draft, path);
        if (o.ok && readBack)
            o.own = video ? reader->read(path).result() : reader->readImageOrPDF(path);
        return o;
    }).then(this, [this, file, draft](const Outcome& o) {
        recordWritten(file, draft, o);
        writeNext();
    });
}

void MetadataDrafts::recordWritten(const FileItem& file, const MetaFields& draft, const Outcome& outcome)
{
    if (!outcome.ok)
        return;
    ++m_job->ok;
    // Each file keeps its own technical facts; only the shown file takes the draft whole.
    std::optional<MetaFields> record;
    if (file.id == m_job->shownId)
        record = draft;
    else if (outcome.own)
        record = withEditedFields(*outcome.own, draft);
    if (!record)
        return;
    m_store.editMeta([&](MetaDrafts& m) {
        m.metaDraft.insert(file.id, *record);
        m.metaOriginal.insert(file.id, *record);
    });
}

void MetadataDrafts::finishJob()
{
    const Job job = *std::exchange(m_job, std::nullopt);
    const int n = int(job.files.size());
    QString status;
    if (job.apply)
        status = L(QStringLiteral("Metadata applied to %1 file(s).").arg(job.ok),
                   QStringLiteral("元数据已应用到 %1 个文件。").arg(job.ok));
    else if (n != 1)
        status = L(QStringLiteral("Saved metadata to %1/%2 selected file(s).").arg(job.ok).arg(n),
                   QStringLiteral("已保存到 %1/%2 个所选文件。").arg(job.ok).arg(n));
    else if (job.ok == 1)
        status = L(QStringLiteral("Metadata saved: ") + job.files.first().name,
                   QStringLiteral("元数据已保存:") + job.files.first().name);
    else
        status = L("Failed to save metadata.", "保存元数据失败。");
    m_store.setStatus(status);
    emit busyChanged(false);
}
