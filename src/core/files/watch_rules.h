#pragma once
// The new stem the batch rules give a watched file. Numbering counts up from the watch's own
// count whatever the list's direction setting: the watch has no list to count down from.
#include <QString>

class Store;
struct FileItem;

QString watchStem(const Store& store, const FileItem& item, int index);
