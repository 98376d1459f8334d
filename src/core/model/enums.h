#pragma once
// The rule option enums. Each is stored by its raw value (a string) so that files written by one
// version stay readable by another; the declaration order is the order of every picker.
#include <QString>
#include <array>
#include <optional>
#include <string_view>

enum class BatchRuleKind {
    findReplace,
    deleteBefore,
    deleteAfter,
    remove,
    caseRule,
    truncate,
    whitespace,
    prefix,
    suffix,
    sequentialNumber,
    insertDate
};
enum class CaseMode { none, upper, lower, title };
enum class KeepSide { first, last };
enum class SpaceMode { none, underscore, hyphen, remove, collapse };
enum class NumberPosition { suffix, prefix, replace, renumber, custom };
enum class NumberFormat { digit, upper, lower };
enum class NumberDir { asc, desc };
enum class DateSource { capture, modified, created };
enum class NameLang {
    automatic,
    english,
    schinese,
    tchinese,
    japanese,
    korean,
    french,
    german,
    spanish,
    italian,
    portuguese,
    russian
};
enum class SmartRenameStyle { finishing, posting, email, custom };

template <typename E> struct EnumInfo;

#define BRINDLECOVE_ENUM_INFO(E, ...)                                                                                  \
    template <> struct EnumInfo<E> {                                                                                   \
        static constexpr auto raw = std::to_array<std::string_view>({__VA_ARGS__});                                    \
    };

BRINDLECOVE_ENUM_INFO(BatchRuleKind, "findReplace", "deleteBefore", "deleteAfter", "remove", "caseRule", "truncate",
                      "whitespace", "prefix", "suffix", "sequentialNumber", "insertDate")
BRINDLECOVE_ENUM_INFO(CaseMode, "none", "upper", "lower", "title")
BRINDLECOVE_ENUM_INFO(KeepSide, "first", "last")
BRINDLECOVE_ENUM_INFO(SpaceMode, "none", "underscore", "hyphen", "remove", "collapse")
BRINDLECOVE_ENUM_INFO(NumberPosition, "suffix", "prefix", "replace", "renumber", "custom")
BRINDLECOVE_ENUM_INFO(NumberFormat, "digit", "upper", "lower")
BRINDLECOVE_ENUM_INFO(NumberDir, "asc", "desc")
BRINDLECOVE_ENUM_INFO(DateSource, "capture", "modified", "created")
BRINDLECOVE_ENUM_INFO(NameLang, "auto", "english", "schinese", "tchinese", "japanese", "korean", "french", "german",
                      "spanish", "italian", "portuguese", "russian")
BRINDLECOVE_ENUM_INFO(SmartRenameStyle, "FINISHING", "POSTING", "EMAIL", "CUSTOM")
#undef BRINDLECOVE_ENUM_INFO

template <typename E> constexpr int enumCount()
{
    return int(EnumInfo<E>::raw.size());
}

template <typename E> QString rawValue(E e)
{
    const std::string_view s = EnumInfo<E>::raw[size_t(e)];
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

// The case whose raw value is exactly `text`, or nothing.
template <typename E> std::optional<E> lookupRawValue(const QString& text)
{
    const auto& raw = EnumInfo<E>::raw;
    for (size_t i = 0; i < raw.size(); ++i)
        if (text == QLatin1String(raw[i].data(), qsizetype(raw[i].size())))
            return E(i);
    return std::nullopt;
}

// All cases in declaration order.
template <typename E> std::array<E, EnumInfo<E>::raw.size()> allCases()
{
    std::array<E, EnumInfo<E>::raw.size()> out{};
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = E(i);
    return out;
}

// Labels in the current interface language.
QString label(CaseMode);
QString label(KeepSide);
QString label(SpaceMode);
QString label(NumberPosition);
QString label(NumberFormat);
QString label(NumberDir);
QString label(DateSource);
QString label(NameLang);
// The English name of a language for language-model prompts; empty for `automatic`.
QString promptName(NameLang);
