#pragma once
// A titled group whose body shows and hides by clicking the title's arrow. It starts collapsed
// and keeps its state only while it lives.
#include <QWidget>

class QToolButton;
class QVBoxLayout;

class DisclosureGroup : public QWidget {
    Q_OBJECT
public:
    explicit DisclosureGroup(QWidget* parent = nullptr);

    QToolButton* header() const { return m_header; }
    // The content; the group takes ownership.
    void setBody(QWidget* body);
    QWidget* body() const { return m_body; }
    bool isExpanded() const;
    void setExpanded(bool on);

signals:
    void expandedChanged(bool on);

private:
    QToolButton* m_header;
    QVBoxLayout* m_layout;
    QWidget* m_body = nullptr;
};
