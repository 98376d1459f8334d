#include "enums.h"

#include "platform/lang.h"

QString label(CaseMode m)
{
    switch (m) {
    case CaseMode::none: return QStringLiteral("—");
    case CaseMode::upper: return L("UPPERCASE", "全大写");
    case CaseMode::lower: return L("lowercase", "全小写");
    case CaseMode::title: return L("Title Case", "首字母大写");
    }
    return {};
}

QString label(KeepSide s)
{
    return s == KeepSide::first ? L("First", "前") : L("Last", "后");
}

QString label(SpaceMode m)
{
    switch (m) {
    case SpaceMode::none: return QStringLiteral("—");
    case SpaceMode::underscore: return QStringLiteral("→ _");
    case SpaceMode::hyphen: return QStringLiteral("→ -");
    case SpaceMode::remove: return L("remove", "去除");
    case SpaceMode::collapse: return L("collapse", "合并");
    }
    return {};
}

QString label(NumberPosition p)
{
    switch (p) {
    case NumberPosition::suffix: return L("After name", "名字后");
    case NumberPosition::prefix: return L("Before name", "名字前");
    case NumberPosition::replace: return L("Replace name", "替换整名");
    case NumberPosition::renumber: return L("Renumber existing", "重新编号(替换原数字)");
    case NumberPosition::custom: return L("At position…", "指定位置…");
    }
    return {};
}

QString label(NumberFormat f)
{
    switch (f) {
    case NumberFormat::digit: return QStringLiteral("1, 2, 3");
    case NumberFormat::upper: return QStringLiteral("A, B, C");
    case NumberFormat::lower: return QStringLiteral("a, b, c");
    }
    return {};
}

QString label(NumberDir d)
{
    return d == NumberDir::asc ? L("Ascending", "正序") : L("Descending", "倒序");
}

QString label(DateSource s)
{
    switch (s) {
    case DateSource::capture: return L("Capture/creation", "拍摄/创建");
    case DateSource::modified: return L("Date modified", "修改时间");
    case DateSource::created: return L("File created", "文件创建时间");
    }
    return {};
}

// Each language is named in itself, so only "Auto" follows the interface language.
QString label(NameLang lang)
{
    switch (lang) {
    case NameLang::automatic: return L("Auto (content)", "自动(按内容)");
    case NameLang::english: return QStringLiteral("English");
    case NameLang::schinese: return QStringLiteral("简体中文");
    case NameLang::tchinese: return QStringLiteral("繁體中文");
    case NameLang::japanese: return QStringLiteral("日本語");
    case NameLang::korean: return QStringLiteral("한국어");
    case NameLang::french: return QStringLiteral("Français");
    case NameLang::german: return QStringLiteral("Deutsch");
    case NameLang::spanish: return QStringLiteral("Español");
    case NameLang::italian: return QStringLiteral("Italiano");
    case NameLang::portuguese: return QStringLiteral("Português");
    case NameLang::russian: return QStringLiteral("Русский");
    }
    return {};
}

QString promptName(NameLang lang)
{
    switch (lang) {
    case NameLang::automatic: return {};
    case NameLang::english: return QStringLiteral("English");
    case NameLang::schinese: return QStringLiteral("Simplified Chinese");
    case NameLang::tchinese: return QStringLiteral("Traditional Chinese");
    case NameLang::japanese: return QStringLiteral("Japanese");
    case NameLang::korean: return QStringLiteral("Korean");
    case NameLang::french: return QStringLiteral("French");
    case NameLang::german: return QStringLiteral("German");
    case NameLang::spanish: return QStringLiteral("Spanish");
    case NameLang::italian: return QStringLiteral("Italian");
    case NameLang::portuguese: return QStringLiteral("Portuguese");
    case NameLang::russian: return QStringLiteral("Russian");
    }
    return {};
}
