#pragma once
// The row of Smart Rename style chips: a click picks the style, dragging one chip onto another
// rearranges the row (the order is kept across launches).
#include "common/drag_chip.h"
#include "model/enums.h"

#include <QList>
#include <QWidget>

class Store;
class QHBoxLayout;
class StyleChip;

class SmartRenameStylePicker : public QWidget {
    Q_OBJECT
public:
    SmartRenameStylePicker(Store& store, bool isDisabled, QWidget* parent = nullptr);

    // Makes the style current; the engine's Smart Rename memo is emptied even when it already was.
    void selectStyle(SmartRenameStyle style);
    // Moves the dragged style (the first dropped text) to the target chip's place; false when
    // the drop is refused.
    bool moveStyle(const QStringList& dropped, SmartRenameStyle target);

    QList<StyleChip*> chips() const { return m_chips; }

private:
    void rebuild();
    void restyle();

    Store& m_store;
    bool m_disabled;
    QHBoxLayout* m_layout;
    QList<StyleChip*> m_chips;
    QList<SmartRenameStyle> m_shownOrder;
};

// One chip; its text is the style's raw value, which is also its drag payload.
class StyleChip : public DragChip {
    Q_OBJECT
public:
    StyleChip(SmartRenameStyle style, SmartRenameStylePicker* picker);
    SmartRenameStyle style() const { return m_style; }

private:
    SmartRenameStyle m_style;
};
