#pragma once
// Plain text onto the clipboard, behind an interface so that widget tests read what a copy
// action wrote without a system clipboard.
#include <QString>

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Empties the clipboard, then puts the text on it as plain text.
    virtual void setText(const QString& text) = 0;
    virtual QString text() const = 0;
};

// The desktop's clipboard (QGuiApplication::clipboard()).
class SystemClipboard : public Clipboard {
public:
    void setText(const QString& text) override;
    QString text() const override;

    static SystemClipboard& instance();
};
