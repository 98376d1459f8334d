#include "highlighted_name.h"

#include <QList>
#include <QTextBoundaryFinder>

namespace {
struct Cluster {
    int start;
    int length;
    QString normalized;
};

QList<Cluster> clusters(const QString& s)
{
    QList<Cluster> out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, s);
    int start = 0;
    while (finder.toNextBoundary() != -1) {
        const int end = int(finder.position());
        out.append({start, end - start, s.mid(start, end - start).normalized(QString::NormalizationForm_C)});
        start = end;
    }
    return out;
}
}  // namespace

HighlightedName highlightedName(const QString& oldName, const QString& newName)
{
    HighlightedName h{newName, 0, 0};
    if (oldName.normalized(QString::NormalizationForm_C) == newName.normalized(QString::NormalizationForm_C))
        return h;
    const QList<Cluster> o = clusters(oldName);
    const QList<Cluster> n = clusters(newName);
    const qsizetype m = o.size(), k = n.size();
    qsizetype p = 0;
    while (p < m && p < k && o[p].normalized == n[p].normalized)
        ++p;
    qsizetype s = 0;
    while (s < k - p && s < m - p && o[m - 1 - s].normalized == n[k - 1 - s].normalized)
        ++s;
    if (p < k - s) {
        h.start = n[p].start;
        const Cluster& last = n[k - s - 1];
        h.length = last.start + last.length - h.start;
    }
    return h;
}
