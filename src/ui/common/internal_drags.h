#pragma once
// Drags made inside the application carry a private type, so that only their own targets take
// them: a rule card's handle drags onto rule cards, a style chip onto style chips, a naming
// section chip onto section chips. Text fields take none of them, nor file URLs, which go to the
// window (and from there to the file list).
#include <QByteArray>
#include <QString>

class QMimeData;
class QWidget;

namespace InternalDrag {
inline constexpr char ruleCard[] = "application/x-brindlecove-rule-card";
inline constexpr char styleChip[] = "application/x-brindlecove-style-chip";
inline constexpr char sectionChip[] = "application/x-brindlecove-section-chip";

// A drag of `payload` (a raw value) as the given private type; the caller owns the result.
QMimeData* makeMimeData(const char* type, const QString& payload);
// The dropped strings of such a drag, one per line; empty when it carries another type.
QStringList payload(const QMimeData* mime, const char* type);
// Every text field under `root` refuses internal drags and file URLs; they pass to its parents.
void keepOutOfTextFields(QWidget* root);
}  // namespace InternalDrag
