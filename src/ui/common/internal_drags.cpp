#include "internal_drags.h"

#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
bool isInternalOrFiles(const QMimeData* mime)
{
    if (!mime)
        return false;
    if (mime->hasUrls())
        return true;
    for (const QString& format : mime->formats())
        if (format.startsWith(QLatin1String("application/x-brindlecove-")))
            return true;
    return false;
}

class TextFieldDropGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (isInternalOrFiles(drag->mimeData())) {
                // Ignored, so the drag goes on to the field's parents.
                drag->ignore();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};
}  // namespace

QMimeData* InternalDrag::makeMimeData(const char* type, const QString& payload)
{
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(type), payload.toUtf8());
    return mime;
}

QStringList InternalDrag::payload(const QMimeData* mime, const char* type)
{
    if (!mime || !mime->hasFormat(QString::fromLatin1(type)))
        return {};
    return QString::fromUtf8(mime->data(QString::fromLatin1(type))).split('\n', Qt::SkipEmptyParts);
}

void InternalDrag::keepOutOfTextFields(QWidget* root)
{
    auto* guard = new TextFieldDropGuard(root);
    for (QLineEdit* field : root->findChildren<QLineEdit*>())
        field->installEventFilter(guard);
    // A text editor takes its drags in its viewport.
    for (QTextEdit* editor : root->findChildren<QTextEdit*>())
        editor->viewport()->installEventFilter(guard);
    for (QPlainTextEdit* editor : root->findChildren<QPlainTextEdit*>())
        editor->viewport()->installEventFilter(guard);
}
