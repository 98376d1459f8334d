#pragma once
// The changed span of a new name: what the preview highlights. Characters are user-perceived
// characters (grapheme clusters) compared under canonical equivalence; the span covers the
// replaced or inserted characters of the new name, so a pure deletion highlights nothing.
#include <QString>

struct HighlightedName {
    QString text;    // the new name
    int start = 0;   // UTF-16 offset of the highlighted span in text
    int length = 0;  // 0: nothing highlighted
};

HighlightedName highlightedName(const QString& oldName, const QString& newName);
