// placeholder until the watch is written
#include "model/store.h"
#include "files/watch_scan.h"
QList<WatchScanEntry> listFolderFiles(const QString&, bool) { return {}; }
void Store::startWatching(const QString&, bool) {}
void Store::stopWatching() {}
void Store::scanWatchFolder() {}
void Store::processWatchScan(const QList<WatchScanEntry>&, const QString&) {}
void Store::autoRenameFile(const QString&) {}
bool Store::watchTimerActive() const { return false; }
