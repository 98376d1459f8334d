#include "bin/bin_logging.h"

#include "bin/bin_controller.h"
#include "metadata/metadata_drafts.h"
#include "metadata/metadata_reader.h"
#include "model/store.h"

BinLogging::BinLogging(Store& store, BinController& bin) : m_store(store), m_bin(bin) {}

BinLogging::~BinLogging() = default;

BinLogging::Loaded BinLogging::load(const FileItem& item)
{
    m_current = item.id;
    const auto& drafts = m_store.meta().metaDraft;
    if (const auto draft = drafts.constFind(item.id); draft != drafts.cend())
        return {draft->custom.value(kScene), draft->custom.value(kTake), false};
    if (metaKindForPath(item.url) == MetaKind::video) {
        if (!m_reading.contains(item.id)) {
            m_reading.insert(item.id);
            m_store.metadataReader().readThen(
                item.url, this, [this, id = item.id](const MetaFields& fields) { finishRead(id, fields); },
                [this, id = item.id] {
                    m_reading.remove(id);
                    m_typedWhileReading.remove(id);
                });
        }
        return {QString(), QString(), true};
    }
    const MetaFields read = m_store.metadataReader().readImageOrPDF(item.url);
    // The read is the baseline Save compares with, so what is logged next counts as a change.
    m_store.editMeta([&](MetaDrafts& m) {
        m.metaDraft.insert(item.id, read);
        m.metaOriginal.insert(item.id, read);
    });
    return {read.custom.value(kScene), read.custom.value(kTake), false};
}

void BinLogging::write(const QUuid& id, const QString& key, const QString& text)
{
    const auto& drafts = m_store.meta().metaDraft;
    const auto entry = drafts.constFind(id);
    if (entry != drafts.cend() && entry->custom.contains(key) && entry->custom.value(key) == text)
        return;
    MetaFields draft = entry != drafts.cend() ? *entry : MetaFields{};
    draft.custom.insert(key, text);
    if (m_reading.contains(id))
        m_typedWhileReading.insert(id);
    m_store.editMeta([&](MetaDrafts& m) { m.metaDraft.insert(id, draft); });
    m_store.metaDrafts().rememberCustomKey(key);
}

void BinLogging::finishRead(const QUuid& id, const MetaFields& read)
{
    m_reading.remove(id);
    const auto& drafts = m_store.meta().metaDraft;
    const auto draft = drafts.constFind(id);
    if (m_typedWhileReading.remove(id)) {
        if (draft == drafts.cend())
            return;  // the drafts were dropped meanwhile (a reload): nothing typed is left
        // What the file holds, under what was typed or filled while it was read: the Scene and
        // Take here (an erased one stays erased), any other field in the bin.
        MetaFields merged = overlaidBy(read, *draft);
        for (const QString& key : {kScene, kTake})
            if (draft->custom.contains(key))
                merged.custom.insert(key, draft->custom.value(key));
        m_store.editMeta([&](MetaDrafts& m) {
            m.metaDraft.insert(id, merged);
            m.metaOriginal.insert(id, read);
        });
        // A bin row built from the empty record in the meantime takes the file's fields too.
        const QList<BinRow>& rows = m_bin.rows();
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].id == id && !rows[i].isOffline()) {
                BinRow row = rows[i];
                row.fields = merged;
                m_bin.writeRow(i, row);
                break;
            }
    } else {
        if (m_current != id || draft != drafts.cend())
            return;
        m_store.editMeta([&](MetaDrafts& m) {
            m.metaDraft.insert(id, read);
            m.metaOriginal.insert(id, read);
        });
    }
    if (m_current == id)
        emit clipRead(id);
}
