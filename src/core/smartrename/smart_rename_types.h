#pragma once
// The records the delivery-name recogniser exchanges with the rest of the application, and the
// fixed tables it consults. cleanInput() is in smart_rename_clean.h, correct() in
// smart_rename_recognize.h. A Smart Rename variant's rules are kept in their stored form.
#include "model/enums.h"
#include "model/gui_preset.h"

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

namespace SmartRename {

struct CutType {
    QUuid id;
    QString canonical;
    QStringList variants;  // always upper-case

    bool operator==(const CutType&) const = default;
    QJsonObject toJson() const;
    static std::optional<CutType> fromJson(const QJsonValue& v);
};

QByteArray encodeCutTypes(const QList<CutType>& list);
std::optional<QList<CutType>> decodeCutTypes(const QByteArray& data);

struct CustomNamingConfig {
    enum class CaseStyle { titleCase, upperCase, asIs };
    enum class SectionKind { code, spotName, cutType, timing, version };

    QString separator = "_";
    CaseStyle caseStyle = CaseStyle::titleCase;
    bool includeProductionCode = true;
    bool quoteSpotName = false;
    bool spotNameSpaced = false;
    QString versionPrefix = "V";
    QString timingPrefix = "";
    QList<SectionKind> sectionOrder = allSections();

    bool operator==(const CustomNamingConfig&) const = default;

    static QList<SectionKind> allSections();
    static QString rawValue(CaseStyle);
    static QString rawValue(SectionKind);
    static QString label(SectionKind);  // current interface language

    QJsonObject toJson() const;
    // Every key optional; a present key of the wrong type or an unknown raw value fails.
    static std::optional<CustomNamingConfig> fromJson(const QJsonObject& o);
    QByteArray encode() const;
    static std::optional<CustomNamingConfig> decode(const QByteArray& data);
};

struct Result {
    QString corrected;
    std::optional<QString> productionCode;
    std::optional<QString> spotName;
    std::optional<QString> cutType;
    std::optional<QString> timing;
    std::optional<QString> version;
    bool missingVersion = true;

    bool operator==(const Result&) const = default;
};

// Built-in cut types, a fresh UUID per entry each time the table is built.
QList<CutType> defaultCutTypes();
// Canonical names of the first ten built-ins ("Digital Trlr" is not among them).
const QSet<QString>& builtInCutTypeNames();
const QStringList& timingPrefixes();    // "TV", "AV"
const QStringList& versionMarkers();    // "REV", "ALT"
const QStringList& digitalLeadWords();  // "DIGITAL", "DIG", "D", in the order they are tried

// Character classes of input cleaning, by code point.
bool isDoubleQuoteCharacter(char32_t c);  // dropped
bool isZeroWidthCharacter(char32_t c);    // dropped
bool isSingleQuoteCharacter(char32_t c);  // written as U+0027
// Apostrophes around a word or phrase that stands between blanks or text ends; matches are
// replaced by "\1\2". One instance per thread, so callers on any thread may use it.
const QRegularExpression& quotedWordRegex();

}  // namespace SmartRename

// A saved rule set applied on top of recognised names.
struct SmartVariant {
    QUuid id;
    QString name;
    GUIPreset rules;

    bool operator==(const SmartVariant&) const = default;
    QJsonObject toJson() const;
    static std::optional<SmartVariant> fromJson(const QJsonValue& v);
};

QByteArray encodeSmartVariants(const QList<SmartVariant>& list);
std::optional<QList<SmartVariant>> decodeSmartVariants(const QByteArray& data);

// Learned word splits: upper-cased word to its parts.
QByteArray encodeLearnedSplits(const QMap<QString, QStringList>& splits);
std::optional<QMap<QString, QStringList>> decodeLearnedSplits(const QByteArray& data);
