#pragma once
// A segmented picker: a row of exclusive checkable tool buttons, each carrying an integer tag.
// Setting a tag that no segment carries shows "nothing selected" (no segment checked).
// activated() fires only for user clicks; setCurrentTag() is silent, so a control bound to the
// Store can follow it without echoing the value back.
#include <QList>
#include <QWidget>

class QToolButton;
class QHBoxLayout;

class SegmentedControl : public QWidget {
    Q_OBJECT
public:
    explicit SegmentedControl(QWidget* parent = nullptr);

    // Appends a segment; returns its button so callers can bind its text or set an icon.
    QToolButton* addSegment(const QString& text, int tag);
    QToolButton* segment(int index) const { return m_buttons.value(index); }
    int count() const { return int(m_buttons.size()); }

    // The checked segment's tag, or -1 when nothing is selected.
    int currentTag() const;
    void setCurrentTag(int tag);

signals:
    void activated(int tag);

private:
    void onClicked(QToolButton* button);

    QHBoxLayout* m_layout;
    QList<QToolButton*> m_buttons;
};
