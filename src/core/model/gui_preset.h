#pragma once
// One whole set of Batch Rules settings as it is stored: a preset file or a Smart Rename variant's
// rules. Enum settings are kept as raw-value strings; fields added after the first file format
// are optional and stay absent when a file lacks them. The engine runs on the typed form
// (rule_settings.h); this is only what files hold.
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>

struct RuleSettings;
struct NameSections;

struct GUIPreset {
    bool findEnabled = false;
    QString find;
    QString replace;
    bool useRegex = false;
    bool delBeforeEnabled = false;
    QString delBefore;
    bool delAfterEnabled = false;
    QString delAfter;
    std::optional<bool> delBeforeIncl;
    std::optional<bool> delAfterIncl;
    bool removeEnabled = false;
    QString removeStr;
    QString caseMode = "none";
    bool truncEnabled = false;
    QString keepSide = "first";
    int keepN = 5;
    QString spaceMode = "none";
    bool prefixEnabled = false;
    QString prefixText;
    bool suffixEnabled = false;
    QString suffixText;
    bool numberEnabled = false;
    int numStart = 1;
    int numPad = 2;
    QString numSep = "_";
    QString numPos = "suffix";
    std::optional<QString> numFormat;
    std::optional<QString> numDir;
    std::optional<int> numCustomAt;
    std::optional<bool> dateEnabled;
    std::optional<QString> dateSource;
    std::optional<QString> dateFormat;
    std::optional<QString> datePos;
    std::optional<QString> dateSep;
    std::optional<int> dateCustomAt;
    std::optional<bool> extEnabled;
    std::optional<QString> extText;

    bool operator==(const GUIPreset&) const = default;

    // Strict decoding: a missing required key or a value of the wrong JSON type fails the whole
    // decode; `error` (when given) receives a short reason.
    static std::optional<GUIPreset> fromJson(const QJsonObject& o, QString* error = nullptr);
    static std::optional<GUIPreset> fromJsonData(const QByteArray& data, QString* error = nullptr);
    QJsonObject toJson() const;  // absent optionals are left out

    // The stored form of the typed rules, every field present.
    static GUIPreset fromRules(const RuleSettings& rules, const NameSections& sections);
    // Writes this preset over the typed rules, and over the extension section.
    void applyTo(RuleSettings& rules) const;
    void applyTo(NameSections& sections) const;

    // One-line description of the enabled rules, in the current interface language.
    QString summary() const;
};
