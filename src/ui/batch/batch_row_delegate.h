#pragma once
// Draws one row of the Batch Rules list: row number, the AI-name checkbox (when offered), the
// file icon, the old name above the new one (the changed span highlighted, or red with a
// warning sign when the name can't be used) and a remove button. Names wrap or are cut in the
// middle as the store's wrapNames says.
#include <QIcon>
#include <QStyledItemDelegate>
#include <QUuid>

class Store;

class BatchRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    BatchRowDelegate(Store& store, QWidget* view);

    struct Geometry {
        QRect number, aiCheck, icon, names, remove;
    };
    // Where each part of a row lies; public so tests can click the parts.
    static Geometry geometry(const QRect& row, bool showAI);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The tooltip at pos in the row: the AI checkbox has its own, the rest shows the names.
    static QString toolTipAt(const QRect& row, const QModelIndex& index, const QPoint& pos);
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

signals:
    void removeClicked(const QUuid& id);
    void aiToggled(const QUuid& id, bool on);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    int namesWidth(const QStyleOptionViewItem& option, bool showAI) const;

    Store& m_store;
    QWidget* m_view;
    // Looked up once: a theme lookup per painted row would decode the images again.
    QIcon m_warning;
    QIcon m_remove;
};
