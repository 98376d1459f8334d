#include "bin_row.h"

#include "model/file_item.h"
#include "model/token_template.h"
#include "platform/lang.h"

namespace {
const QString kCustom = QStringLiteral("custom:");
const QString kDatePattern = QStringLiteral("yyyy-MM-dd HH:mm:ss");

enum class Key { name, clipname, online, title, author, extra, ext, city, country, gps, keywords, date, custom };

Key keyOf(const QString& column)
{
    static const QHash<QString, Key> keys = {
        {"name", Key::name},       {"clipname", Key::clipname}, {"online", Key::online},     {"title", Key::title},
        {"author", Key::author},   {"extra", Key::extra},       {"ext", Key::ext},           {"city", Key::city},
        {"country", Key::country}, {"gps", Key::gps},           {"keywords", Key::keywords}, {"date", Key::date},
    };
    return keys.value(column, Key::custom);
}

// The custom rule drops the first seven characters whatever they are.
QString customName(const QString& column)
{
    return column.mid(kCustom.size());
}

// The field a text key reads and writes for the row's kind; nullptr when it has none.
template <typename Fields> auto textField(Fields& f, MetaKind kind, Key key) -> decltype(&f.clipName)
{
    const bool image = kind == MetaKind::image;
    switch (key) {
    case Key::clipname: return &f.clipName;
    case Key::title: return image ? &f.caption : &f.title;
    case Key::author: return image ? &f.byline : &f.author;
    case Key::extra: return image ? &f.copyright : kind == MetaKind::pdf ? &f.subject : nullptr;
    case Key::city: return &f.city;
    case Key::country: return &f.country;
    case Key::gps: return &f.gps;
    case Key::keywords: return &f.keywords;
    default: return nullptr;
    }
}

// A bin formula reads the row's tokens at position 0, so "%n" and "%seq" are "1".
TemplateTokens rowTokens(const BinRow& row)
{
    return templateTokens(0, row);
}

bool isFormula(const QString& text)
{
    return text.contains(u'%');
}
}  // namespace

QString BinRow::value(const QString& column) const
{
    const Key key = keyOf(column);
    switch (key) {
    case Key::name: return pendingName ? *pendingName : url ? PathText::lastComponent(*url) : name;
    case Key::online: return isOffline() ? L("Offline", "离线") : L("Online", "在线");
    case Key::ext: {
        if (newExt)
            return *newExt;
        const QString fromUrl = url ? PathText::extension(PathText::lastComponent(*url)) : QString();
        return !fromUrl.isEmpty() ? fromUrl : PathText::extension(name);
    }
    case Key::date: return dateText();
    case Key::custom: return fields.custom.value(customName(column));
    default: {
        const QString* field = textField(fields, kind, key);
        return field ? *field : QString();
    }
    }
}

void BinRow::setValue(const QString& text, const QString& column)
{
    const Key key = keyOf(column);
    switch (key) {
    case Key::name:
        if (text.isEmpty())
            pendingName.reset();
        else
            pendingName = text;
        return;
    case Key::online: return;
    case Key::ext: newExt = text; return;
    case Key::date: setDateText(text); return;
    case Key::custom: fields.custom.insert(customName(column), text); return;
    default:
        if (QString* field = textField(fields, kind, key))
            *field = text;
    }
}

bool BinRow::isEditable(const QString& column) const
{
    const bool image = kind == MetaKind::image;
    switch (keyOf(column)) {
    case Key::title:
    case Key::author: return kind != MetaKind::unsupported;
    case Key::extra:
    case Key::keywords: return image || kind == MetaKind::pdf;
    case Key::city:
    case Key::country:
    case Key::gps: return image;
    case Key::date: return image || kind == MetaKind::video;
    default: return true;
    }
}

QString BinRow::displayValue(const QString& column) const
{
    const QString text = value(column);
    if (column == QLatin1String("date") || !isFormula(text))
        return text;
    return expandTemplate(text, rowTokens(*this)).text;
}

QStringList BinRow::formulaDiagnostics(const QString& column) const
{
    const QString text = value(column);
    if (column == QLatin1String("date") || !isFormula(text))
        return {};
    return expandTemplate(text, rowTokens(*this)).unresolved;
}

MetaFields BinRow::resolvedFields() const
{
    MetaFields out = fields;
    const TemplateTokens tokens = rowTokens(*this);
    const auto expand = [&tokens](QString& text) {
        if (isFormula(text))
            text = expandTemplate(text, tokens).text;
    };
    for (QString* f : {&out.clipName, &out.title, &out.caption, &out.author, &out.byline, &out.copyright, &out.keywords,
                       &out.subject, &out.city, &out.country, &out.gps, &out.album, &out.genre, &out.desc})
        expand(*f);
    for (auto it = out.custom.begin(); it != out.custom.end(); ++it)
        expand(it.value());
    return out;
}

QString BinRow::dateText() const
{
    return fields.date ? formatDate(*fields.date) : QString();
}

void BinRow::setDateText(const QString& text)
{
    fields.date = parseDate(text);
}

QString BinRow::formatDate(const QDateTime& date)
{
    // Digits only in this pattern, so Qt's formatter gives the same text as the POSIX locale.
    return date.toLocalTime().toString(kDatePattern);
}

std::optional<QDateTime> BinRow::parseDate(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    const QDateTime date = QDateTime::fromString(text, kDatePattern);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

const QStringList& binFieldKeys()
{
    static const QStringList keys = {"clipname", "online", "title",   "author", "extra",
                                     "ext",      "city",   "country", "gps",    "keywords"};
    return keys;
}

QString binFieldTitle(const QString& key)
{
    switch (keyOf(key)) {
    case Key::clipname: return L("Clip Name", "剪辑名");
    case Key::online: return L("Status", "在线状态");
    case Key::title: return L("Title", "标题");
    case Key::author: return L("Author", "作者");
    case Key::extra: return L("Extra", "附加");
    case Key::ext: return L("Ext", "后缀");
    case Key::city: return L("City", "城市");
    case Key::country: return L("Country", "国家");
    case Key::gps: return QStringLiteral("GPS");
    case Key::keywords: return L("Keywords", "关键词");
    default: return customName(key);
    }
}
