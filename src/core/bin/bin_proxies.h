#pragma once
// Pairing the bin's rows with proxy files of the same base name: the proxy's file name and path
// go into the "Proxy" and "Proxy Path" columns, as one undo step of the bin. Owned by the
// BinController.
#include <QHash>
#include <QString>
#include <QStringList>

class BinController;
class Store;

// The name less its last extension, lower-cased: "A001.R3D" and "a001.mov" both give "a001",
// "clip.v2.mov" gives "clip.v2".
QString proxyMatchKey(const QString& fileName);
// Match key to proxy path. A folder gives every entry directly inside it that is not hidden (its
// subfolders' contents are not looked at); anything else is taken as a proxy itself. A later
// proxy with the same key replaces an earlier one.
QHash<QString, QString> proxyMap(const QStringList& chosen);

class BinProxies {
public:
    BinProxies(BinController& bin, Store& store) : m_bin(bin), m_store(store) {}

    // `chosen`: the files and folders the user picked; empty when the panel was cancelled,
    // which changes nothing. A row's own file is never its proxy; offline rows pair too.
    void pairProxies(const QStringList& chosen);

private:
    BinController& m_bin;
    Store& m_store;
};
