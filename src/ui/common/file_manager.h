#pragma once
// "Show in File Manager": asks the desktop's file manager to open the folders of the given
// files with the files selected, in one request; without such a service, opens each parent
// folder instead.
#include <QStringList>

// False when no file manager could be asked.
bool showInFileManager(const QStringList& paths);
