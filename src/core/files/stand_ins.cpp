// Stand-ins for folder access until its own code lands; Linux has no
// sandbox, so access is bookkeeping only. Remove this file when the real ones are merged.
#include "model/store.h"

void Store::ensureScopedAccess(const QString& folder)
{
    const QString path = PathText::standardized(folder);
    if (!m_scopedFolderRoots.contains(path))
        m_scopedFolderRoots << path;
}

void Store::stopScopedAccess() { m_scopedFolderRoots.clear(); }
