#pragma once
// The screens the main window shows: one per mode, built anew each time its mode is entered,
// and the rename log sheet. Modes whose screens are not part of this build show an empty page
// with the mode's name.
#include <QWidget>

class Dialogs;
class Store;

inline constexpr int kModeCount = 5;
// The mode's title as a pair; an index outside 0…4 names the last mode (Email).
const char* modeTitleEn(int tab);
const char* modeTitleZh(int tab);

QWidget* makeModeScreen(int tab, Store& store, Dialogs& dialogs, QWidget* parent);
// The content of the rename log sheet; the sheet closes when the content emits finished().
QWidget* makeRenameLogContent(Store& store, Dialogs& dialogs, QWidget* parent);
