#pragma once
// The recogniser of delivery names and its rules on upper-case keys. May run on any thread.
#include "smartrename/smart_rename_types.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <utility>

namespace SmartRename {

// One version marker: name "REV", "ALT" or "" for a bare letter; value digits, one letter or "".
struct Marker {
    QString name;
    QString value;
    bool operator==(const Marker&) const = default;
};

struct ParsedVersion {
    QString number;
    QList<Marker> markers;
    bool operator==(const ParsedVersion&) const = default;
};

struct MarkerSuffix {
    QList<Marker> markers;
    qsizetype next = 0;  // position after the last word used
};

// The upper-case, blank-free form every recognition rule compares.
QString wordKey(QStringView word);

std::optional<ParsedVersion> parseVersion(QStringView key);
std::optional<QList<Marker>> findMarkers(QStringView text);
MarkerSuffix parseVersionSuffix(const QStringList& keys, qsizetype from);
std::optional<QString> normalizeTiming(QStringView key);
std::optional<QString> lookupCutType(QStringView key, const QList<CutType>& cutTypes);
// (lead text, "Digital<W>x<H>")
std::optional<std::pair<QString, QString>> sizeCutType(QStringView key);
std::optional<QString> digitalPrefixedCutType(QStringView key);
// (key without the variant it ends with, canonical name)
std::optional<std::pair<QString, QString>> splitCutTypeSuffix(QStringView key, const QList<CutType>& cutTypes);

// The built-in table, built once and shared (its ids never change within a run).
const QList<CutType>& builtInCutTypes();

// Recognises a delivery name and writes it in `style`. `cutTypes` is used only for CUSTOM.
Result correct(const QString& cleaned, SmartRenameStyle style, const QList<CutType>& cutTypes,
               const CustomNamingConfig& config, const QMap<QString, QStringList>& learnedSplits,
               bool noProductionCode = false);

}  // namespace SmartRename
