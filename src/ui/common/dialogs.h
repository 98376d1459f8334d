#pragma once
// Every modal question a screen asks goes through this interface: open and save panels, alerts
// (optionally with a "don't ask again" checkbox), text prompts and yes/no questions. The
// application uses QtDialogs; tests use a scripted fake, so no test ever runs a modal loop.
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

class Dialogs {
public:
    virtual ~Dialogs() = default;

    struct OpenPanel {
        QString title;
        QString prompt;  // text of the confirm button; empty: the platform's
        bool chooseFiles = true;
        bool chooseDirectories = false;
        bool multiple = true;
        QString directory;        // where the panel starts; empty: the platform's choice
        QStringList nameFilters;  // "Images (*.png *.jpg)"
        QString checkBoxText;     // an accessory checkbox below the panel when not empty
        bool checkBoxChecked = false;
    };
    struct OpenResult {
        QStringList paths;  // in the panel's order; empty when cancelled
        bool checkBoxChecked = false;
        bool accepted() const { return !paths.isEmpty(); }
    };
    virtual OpenResult openPanel(const OpenPanel& panel) = 0;

    struct SavePanel {
        QString title;
        QString directory;
        QString fileName;  // proposed name
        QStringList nameFilters;
    };
    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> savePanel(const SavePanel& panel) = 0;

    enum class Style { Information, Warning, Critical };
    struct Alert {
        Style style = Style::Warning;
        QString message;      // the bold first line
        QString informative;  // the explanation below it
        QStringList buttons;  // in this order; empty means one "OK" / "好"
        int defaultButton = 0;
        int destructiveButton = -1;
        // The answer Escape and the window's close button give; -1 (and always with several
        // buttons and none named) answers -1, which every caller reads as "not confirmed".
        int cancelButton = -1;
        QString suppressionText;  // "Don't ask again" checkbox when not empty
    };
    struct AlertResult {
        int button = -1;          // index into Alert::buttons; -1 for Escape or closing
        bool suppressed = false;  // the checkbox's state
    };
    virtual AlertResult alert(const Alert& alert) = 0;

    struct TextPrompt {
        QString title;
        QString message;
        QString text;  // initial text
        QString placeholder;
        QString okText;
        QString cancelText;
    };
    // The entered text, or nothing when cancelled.
    virtual std::optional<QString> promptText(const TextPrompt& prompt) = 0;

    // A text prompt with a checkbox below the field: the text and the box's state, or nothing
    // when cancelled. Without an override the checkbox is left out (always unchecked).
    struct CheckedText {
        QString text;
        bool checked = false;
    };
    virtual std::optional<CheckedText> promptTextAndCheck(const TextPrompt& prompt, const QString& checkBoxText);

    // A two-button alert; true when the affirmative button (the second) was chosen.
    bool question(const QString& message, const QString& informative, const QString& cancelText,
                  const QString& confirmText, bool destructive = false);
};

// The real panels and alerts: QFileDialog, QMessageBox, QInputDialog, parented to a window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParentWidget(QWidget* parent) { m_parent = parent; }

    OpenResult openPanel(const OpenPanel& panel) override;
    std::optional<QString> savePanel(const SavePanel& panel) override;
    AlertResult alert(const Alert& alert) override;
    std::optional<QString> promptText(const TextPrompt& prompt) override;
    std::optional<CheckedText> promptTextAndCheck(const TextPrompt& prompt, const QString& checkBoxText) override;

private:
    QWidget* m_parent;
};
