#pragma once
#include <QString>
#include <optional>

// Why a proposed file name can't be used, in the current interface language; nothing when it can.
std::optional<QString> validateNewName(const QString& proposed, const QString& current);
// True when both paths denote the same file system object (device and inode).
bool isSameFile(const QString& a, const QString& b);
