#pragma once
// Relinking offline rows: the user points at files or parent folders, and every file found there
// whose name equals an offline row's name is listed; the bin's row sync then gives it to that row.
#include "bin/bin_row.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class BinDesk;
class Store;

namespace BinRelink {

// File name → path for the chosen files and every regular file below the chosen folders
// (hidden entries and package insides skipped, links not followed); a later find of the same
// name wins.
QHash<QString, QString> nameMap(const QStringList& chosen);
// Lists the file of each offline row found in the map and returns how many rows it found. The
// rows are a copy: listing a file makes the bin sync its rows.
int relink(Store& store, QList<BinRow> rows, const QHash<QString, QString>& names);
// Asks for files and folders, relinks and reports the count in the status line.
void relinkOffline(Store& store, QList<BinRow> rows, BinDesk& desk);

QString relinkLabel();
QString relinkHelp();
QString importExportLabel();

}  // namespace BinRelink
