#pragma once
// The folder watch's move: refuses an existing target, whatever the file system. A stand-in
// for the shared no-replace move primitive until that is available here.
#include <QString>

// 0 on success, else the errno of the failed step (EEXIST when the target is taken).
int moveRefusingExisting(const QString& from, const QString& to);
