#pragma once
// The Metadata tab's "Log" mode: one listed file at a time with a Scene and a Take field. Return
// walks Scene, Take, then the next clip, which arrives with the Scene and the next Take filled in
// when it has neither of its own; Ctrl+Left and Ctrl+Right move without changing anything. What
// is typed or filled goes into the clip's draft through the bin's logging; nothing is written to
// disk here. The screen starts again at the first clip each time it is built.
#include <QWidget>
#include <optional>

class QLabel;
class QLineEdit;
class QToolButton;
class Store;
struct FileItem;

class LogModeView : public QWidget {
    Q_OBJECT
public:
    enum class Field { scene, take };

    explicit LogModeView(Store& store, QWidget* parent = nullptr);
    ~LogModeView() override;

    int idx() const { return m_idx; }
    QString scene() const;
    QString take() const;
    const std::optional<Field>& focusField() const { return m_focus; }

    QLabel* hint() const { return m_hint; }
    QWidget* clipArea() const { return m_clip; }
    QLabel* counter() const { return m_counter; }
    QLabel* nameLabel() const { return m_name; }
    QLineEdit* sceneEdit() const { return m_sceneEdit; }
    QLineEdit* takeEdit() const { return m_takeEdit; }
    QLabel* helpLine() const { return m_help; }
    QToolButton* previousButton() const { return m_prev; }
    QToolButton* nextButton() const { return m_next; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<FileItem> currentClip() const;
    void loadCurrent();
    void setFields(const QString& scene, const QString& take);
    void setFocusField(std::optional<Field> field);
    void move(int step);
    void advance();
    void refresh();

    Store& m_store;
    int m_idx = 0;
    std::optional<Field> m_focus;
    bool m_appeared = false;

    QLabel* m_hint;
    QWidget* m_clip;
    QLabel* m_counter;
    QLabel* m_name;
    QLineEdit* m_sceneEdit;
    QLineEdit* m_takeEdit;
    QLabel* m_help;
    QToolButton* m_prev;
    QToolButton* m_next;
};
