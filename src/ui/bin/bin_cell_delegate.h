#pragma once
// The one delegate of the bin table's text cells: a line editor that commits every change as it
// is typed, the formula accessory after the text (its result, or a warning when the formula
// names unknown tokens), names cut in the middle. Checkbox cells are the base delegate's. Keys
// reach the quick-edit handler before the editor or the base delegate sees them.
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <functional>

class QKeyEvent;
class QLineEdit;

class BinCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using KeyHandler = std::function<bool(QLineEdit* editor, QKeyEvent* event, const QModelIndex& index)>;
    using EditorOpened = std::function<void(const QModelIndex& index)>;

    explicit BinCellDelegate(QObject* parent = nullptr);

    void setKeyHandler(KeyHandler handler) { m_keyHandler = std::move(handler); }
    void setEditorOpened(EditorOpened opened) { m_editorOpened = std::move(opened); }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    KeyHandler m_keyHandler;
    EditorOpened m_editorOpened;
};
