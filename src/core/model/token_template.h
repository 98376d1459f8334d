#pragma once
// "%name" references in a template, replaced from a dictionary of tokens.
#include <QHash>
#include <QString>
#include <QStringList>

struct BinRow;

// Token name (lower case) to its value.
using TemplateTokens = QHash<QString, QString>;

struct TemplateExpansion {
    QString text;
    QStringList unresolved;  // "%word" for each reference no token matched, in order found
};

// References match case-insensitively, a blank in a reference standing for "_"; where one
// name begins another the longer wins. Unmatched references stay in the text as typed.
TemplateExpansion expandTemplate(const QString& templ, const TemplateTokens& tokens);

// The tokens a name template can use for one file: its bin row's fields, its name and its place
// (index, 0-based) in the list.
TemplateTokens templateTokens(int index, const BinRow& row);
