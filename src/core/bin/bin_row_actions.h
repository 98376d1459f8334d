#pragma once
// What the bin's context menu does with chosen rows: open, preview, reveal, copy paths and
// remove. Owned by the BinController; files on disk are never changed here.
#include <QSet>
#include <QStringList>
#include <QUuid>

class BinController;
class Store;

class BinRowActions {
public:
    BinRowActions(BinController& bin, Store& store) : m_bin(bin), m_store(store) {}

    // The files of the rows with these ids, in table order; offline rows give none.
    QStringList selectedURLs(const QSet<QUuid>& ids) const;
    void openFiles(const QSet<QUuid>& ids);
    // No ids: every file of the table.
    void quickLookRows(const QSet<QUuid>& ids);
    void revealInFinder(const QSet<QUuid>& ids);
    void copyPaths(const QSet<QUuid>& ids);
    // The rows leave the table; their files leave the list (never the disk).
    void removeRows(const QSet<QUuid>& ids);

private:
    BinController& m_bin;
    Store& m_store;
};
