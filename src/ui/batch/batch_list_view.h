#pragma once
// The tree view of the Batch Rules list. Row heights vary while long names wrap, and the view
// measures rows lazily. A whole-list dataChanged would make it measure every row, so a change
// re-measures the rows on screen at once and the rest by one relayout after the burst; a width
// change re-measures the wrapped rows.
#include <QTimer>
#include <QTreeView>

class BatchListView : public QTreeView {
    Q_OBJECT
public:
    explicit BatchListView(QWidget* parent = nullptr);

    // Every row may have a new text: repaint what is shown, re-measuring wrapped rows.
    void rowsChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Tells the model that what it is asked now is painted (it may then show a previous name).
    void paintEvent(QPaintEvent* event) override;
    // A right click opens the context menu on the clicked row and leaves the selection alone.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QTimer m_relayout;
};
