#pragma once
// A small rounded label that can be clicked, dragged onto another chip of its kind, and take
// such a drop. The drag carries the chip's payload (a raw value) under a private type, so chips
// of one row never take drops from another kind of chip or from text fields.
#include <QLabel>
#include <QStringList>
#include <functional>

class DragChip : public QLabel {
    Q_OBJECT
public:
    DragChip(const QString& text, const char* dragType, const QString& payload, QWidget* parent = nullptr);

    const QString& payload() const { return m_payload; }
    // What a click does (nothing when unset).
    void setOnClick(std::function<void()> f) { m_onClick = std::move(f); }
    // Decides a drop: the dropped payloads in, whether the drop was taken out.
    void setOnDrop(std::function<bool(const QStringList&)> f) { m_onDrop = std::move(f); }
    // Accent fill with white text when selected, a faint grey fill otherwise.
    void setSelected(bool on);
    // The rounded fill; horizontal padding in points.
    void setPadding(int horizontal) { m_hPadding = horizontal; }

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    const char* m_type;
    QString m_payload;
    std::function<void()> m_onClick;
    std::function<bool(const QStringList&)> m_onDrop;
    QPoint m_pressPos;
    bool m_dragging = false;
    int m_hPadding = 6;
};
