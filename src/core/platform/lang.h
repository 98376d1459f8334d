#pragma once
// Every user-visible text is a pair (English, Simplified Chinese). The pair is resolved when
// the text is built, using the language of that moment.
#include <QLocale>
#include <QString>

namespace Lang {
// The current interface language; the Store keeps it in step with its langZh.
bool zh();
void setZh(bool zh);
// The locale dates are shown in: the system's while it speaks the language shown, otherwise
// that language's usual one (US English, mainland Chinese).
QLocale locale();
}  // namespace Lang

inline QString L(const char* en, const char* zh)
{
    return QString::fromUtf8(Lang::zh() ? zh : en);
}
inline QString L(const QString& en, const QString& zh)
{
    return Lang::zh() ? zh : en;
}
// Picks one of the pair for an explicit language (messages composed for another language).
inline QString L(bool zhLang, const char* en, const char* zh)
{
    return QString::fromUtf8(zhLang ? zh : en);
}
