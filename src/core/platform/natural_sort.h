#pragma once
// The file manager's order: digits compare by value, letter case is ignored.
#include <QCollator>
#include <QString>
#include <QStringList>

QCollator naturalCollator();
// Stable sort of texts in natural order (sort keys are built once per text).
QList<int> naturalOrder(const QStringList& texts);
