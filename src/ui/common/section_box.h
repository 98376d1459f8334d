#pragma once
// A section with an on/off switch in its header. Switching it off hides the editor (the body)
// rather than disabling it, and keeps whatever the editor holds. toggled() fires only for user
// clicks; setOn() is silent so the box can follow the Store. An editor given as a builder is made
// when the section is first switched on, or when buildBody() asks for it.
#include <QWidget>
#include <functional>

class QCheckBox;
class QHBoxLayout;
class QVBoxLayout;

class SectionBox : public QWidget {
    Q_OBJECT
public:
    explicit SectionBox(const QString& title = {}, QWidget* parent = nullptr);

    QCheckBox* toggle() const { return m_toggle; }
    // Widgets placed after the title in the header row (help buttons, pickers); always visible.
    void addHeaderWidget(QWidget* w);
    // The editor shown while the section is on; the box takes ownership.
    void setBody(QWidget* body);
    QWidget* body() const { return m_body; }
    void setBodyBuilder(std::function<QWidget*()> build);
    void buildBody();

    bool isOn() const;
    void setOn(bool on);

signals:
    void toggled(bool on);

private:
    void updateBody();

    QCheckBox* m_toggle;
    QHBoxLayout* m_header;
    QVBoxLayout* m_layout;
    QWidget* m_body = nullptr;
    std::function<QWidget*()> m_build;
};
