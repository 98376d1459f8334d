#pragma once
// One rule card of the rules panel: a drag handle beside the card's box. The handle drags the
// rule kind's raw value under the private rule-card type; the whole card accepts such a drop and
// hands it to the panel, which decides whether to reorder.
#include "model/enums.h"

#include <QLabel>
#include <QPoint>
#include <QWidget>
#include <functional>

class QMimeData;

class DragHandle : public QLabel {
    Q_OBJECT
public:
    DragHandle(QString payload, QWidget* parent = nullptr);
    // What a drag from this handle carries.
    QMimeData* makeMimeData() const;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QString m_payload;
    QPoint m_pressPos;
};

class RuleCard : public QWidget {
    Q_OBJECT
public:
    using DropHandler = std::function<bool(const QStringList& dropped, BatchRuleKind target)>;
    RuleCard(BatchRuleKind kind, QWidget* box, DropHandler onDrop, QWidget* parent = nullptr);

    BatchRuleKind kind() const { return m_kind; }
    DragHandle* handle() const { return m_handle; }
    QWidget* box() const { return m_box; }

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    BatchRuleKind m_kind;
    DragHandle* m_handle;
    QWidget* m_box;
    DropHandler m_onDrop;
};

// The dropped strings of a rule-card drag: one per line, in order.
QStringList droppedStrings(const QMimeData* mime);
