#pragma once
// The file manager's order: digits compare by value, letter case is ignored.
#include <QCollator>
#include <QString>
#include <QStringList>

#include <array>
#include <string>

QCollator naturalCollator();
// Stable sort of texts in natural order (sort keys are built once per text).
QList<int> naturalOrder(const QStringList& texts);

// Byte keys giving the natural order of printable ASCII texts without building collation keys:
// in the locales allowed here the collator orders such texts one character at a time (no
// contractions, case and leading zeros ignored), so a key is the character ranks the collator
// itself gives, with each run of digits as its value. Texts whose keys compare equal are equal
// to the collator too. Keys of two texts joined at a non-digit are the two keys joined.
class NaturalAsciiKeys {
public:
    NaturalAsciiKeys();  // for the current locale
    bool usable() const { return m_usable; }
    // Appends the key of `text`; false (and `key` unchanged) when a character of it is not
    // printable ASCII or a run of digits is too long to be ordered here.
    bool append(std::string& key, const char* text, qsizetype size) const;
    bool append(std::string& key, QStringView text) const;

private:
    std::array<unsigned char, 128> m_rank{};  // 0: not ordered here
    unsigned char m_digits = 0;               // the rank of every run of digits
    bool m_usable = false;
};
