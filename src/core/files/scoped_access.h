#pragma once
// Folder access bookkeeping: which folders this session opened, which the user refused, the one
// move primitive, and the access prompt that a refused move may raise.
#include "platform/safe_move.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

class FolderAccess;
class OpenFolder;
class Store;

class ScopedAccess {
public:
    explicit ScopedAccess(Store& store) : m_store(store) {}

    const QStringList& scopedFolderRoots() const { return m_scopedFolderRoots; }
    const QSet<QString>& declinedAccessFolders() const { return m_declinedAccessFolders; }
    void ensureScopedAccess(const QString& folder);
    void stopScopedAccess();
    // A new batch asks again about folders refused during the last one.
    void forgetDeclinedFolders() { m_declinedAccessFolders.clear(); }
    // The one move primitive: never replaces an existing item.
    std::optional<MoveError> coordinatedMove(const QString& from, const QString& to);
    // The same, through `near` for a run of moves within one folder.
    std::optional<MoveError> coordinatedMove(const QString& from, const QString& to, OpenFolder& near);
    // Asks for access to the destination folder of a refused move and retries it once; true
    // when the item is now at `to`.
    bool requestFolderAccess(const QString& from, const QString& to, const std::optional<MoveError>& error);

private:
    FolderAccess& folderAccess() const;

    Store& m_store;
    QStringList m_scopedFolderRoots;
    QSet<QString> m_declinedAccessFolders;
};
