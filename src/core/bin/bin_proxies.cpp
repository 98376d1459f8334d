#include "bin_proxies.h"

#include "bin/bin_controller.h"
#include "files/path_remap.h"
#include "model/file_item.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QDir>
#include <QFileInfo>

QString proxyMatchKey(const QString& fileName)
{
    return PathText::withoutExtension(fileName).toLower();
}

QHash<QString, QString> proxyMap(const QStringList& chosen)
{
    QHash<QString, QString> map;
    for (const QString& path : chosen) {
        if (!QFileInfo(path).isDir()) {
            map.insert(proxyMatchKey(PathText::lastComponent(path)), path);
            continue;
        }
        const QDir dir(path);
        // Sorted, so that which of two same-named proxies wins does not depend on the disk.
        for (const QString& entry : dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
            if (!entry.startsWith(u'.'))
                map.insert(proxyMatchKey(entry), dir.filePath(entry));
    }
    return map;
}

void BinProxies::pairProxies(const QStringList& chosen)
{
    if (chosen.isEmpty())
        return;
    const QHash<QString, QString> map = proxyMap(chosen);
    QStringList cols = m_bin.customCols();
    for (const QString& name : {QStringLiteral("Proxy"), QStringLiteral("Proxy Path")})
        if (!cols.contains(name))
            cols.append(name);
    if (cols != m_bin.customCols())
        m_bin.setCustomCols(cols);

    QList<QPair<int, QString>> pairs;
    const QList<BinRow>& rows = m_bin.rows();
    for (int i = 0; i < rows.size(); ++i) {
        const auto proxy = map.constFind(proxyMatchKey(rows[i].name));
        if (proxy == map.cend())
            continue;
        if (rows[i].url && PathRemap::clean(*rows[i].url) == PathRemap::clean(*proxy))
            continue;
        pairs.append({i, *proxy});
    }
    if (!pairs.isEmpty()) {
        m_bin.pushToolSnapshot();
        m_bin.editRows([&](QList<BinRow>& all) {
            QList<int> changed;
            for (const auto& [i, proxy] : pairs) {
                all[i].setValue(PathText::lastComponent(proxy), QStringLiteral("custom:Proxy"));
                all[i].setValue(proxy, QStringLiteral("custom:Proxy Path"));
                changed.append(i);
            }
            return changed;
        });
    }
    m_store.setStatus(L("Paired ", "已配对 ") + QString::number(pairs.size()) + L(" proxy file(s).", " 个代理文件。"));
}
