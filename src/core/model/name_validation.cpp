#include "model/name_validation.h"

#include "platform/lang.h"

#include <QFile>
#include <sys/stat.h>

namespace {

qsizetype utf8Length(const QString& s)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s.at(i).unicode();
        if (c < 0x80)
            bytes += 1;
        else if (c < 0x800)
            bytes += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < s.size() && QChar::isLowSurrogate(s.at(i + 1).unicode()))
            bytes += 4, ++i;
        else
            bytes += 3;  // a lone surrogate is written as the replacement character
    }
    return bytes;
}

}  // namespace

std::optional<QString> validateNewName(const QString& proposed, const QString& current)
{
    if (proposed.isEmpty() || proposed == QLatin1String(".") || proposed == QLatin1String(".."))
        return L("the new name is empty", "新名称为空");
    if (proposed.contains(u'/'))
        return L("“/” isn't allowed in a file name", "文件名不能包含“/”");
    if (proposed.contains(QChar(0)))
        return L("the new name contains an invalid character", "新名称含有无效字符");
    if (utf8Length(proposed) >= 256)
        return L("the new name is too long", "新名称过长");
    if (proposed.startsWith(u'.') && !current.startsWith(u'.'))
        return L("a name starting with “.” would hide the file", "以“.”开头的名称会让文件被隐藏");
    return std::nullopt;
}

bool isSameFile(const QString& a, const QString& b)
{
    struct stat sa {
    }, sb{};
    if (::lstat(QFile::encodeName(a).constData(), &sa) != 0 || ::lstat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
