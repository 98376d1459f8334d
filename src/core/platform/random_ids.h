#pragma once
// Ids for list items, rows and log entries, in the form QUuid::createUuid() gives them (version
// 4), drawn from the shared generator the system's seeds. QUuid::createUuid() asks the system's
// generator for each one, which costs about a microsecond on a virtual machine: a folder of
// 100,000 files spent half its listing there. These ids need to be unique, not unguessable.
#include <QList>
#include <QUuid>

QUuid randomId();
QList<QUuid> randomIds(qsizetype n);
