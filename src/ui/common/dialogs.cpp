#include "dialogs.h"

#include "platform/lang.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Chinese lines have no blanks to break at: a narrow box would cut them anywhere.
constexpr int kMinTextWidth = 420;

// Escape and the close button must always have an answer; without one, QMessageBox ignores both.
void setEscapeAnswer(QMessageBox& box, const QList<QPushButton*>& buttons, int cancel)
{
    if (cancel >= 0 && cancel < buttons.size()) {
        box.setEscapeButton(buttons[cancel]);
        return;
    }
    if (buttons.size() == 1) {
        box.setEscapeButton(buttons.first());
        return;
    }
    // Not one of the caller's buttons, so the answer is -1.
    QPushButton* none = box.addButton(QMessageBox::Cancel);
    none->hide();
    box.setEscapeButton(none);
}

// QMessageBox fixes its own size when shown, from the screen's width: widen it after that.
class WideMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        const auto* text = findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
        if (!text || !text->isVisible())
            text = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        const int extra = text ? kMinTextWidth - text->width() : 0;
        if (extra <= 0)
            return;
        const int w = width() + extra;
        setFixedSize(w, layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(w) : height());
    }
};
}  // namespace

bool Dialogs::question(const QString& message, const QString& informative, const QString& cancelText,
                       const QString& confirmText, bool destructive)
{
    Alert a;
    a.message = message;
    a.informative = informative;
    a.buttons = {cancelText, confirmText};
    a.defaultButton = 0;
    a.cancelButton = 0;
    a.destructiveButton = destructive ? 1 : -1;
    return alert(a).button == 1;
}

std::optional<Dialogs::CheckedText> Dialogs::promptTextAndCheck(const TextPrompt& prompt, const QString&)
{
    const auto text = promptText(prompt);
    if (!text)
        return std::nullopt;
    return CheckedText{*text, false};
}

Dialogs::OpenResult QtDialogs::openPanel(const OpenPanel& panel)
{
    // The non-native dialog is needed both for folder-only multi-selection and for the
    // accessory checkbox; it also behaves the same on every desktop.
    QFileDialog d(m_parent, panel.title, panel.directory);
    d.setOption(QFileDialog::DontUseNativeDialog, true);
    if (panel.chooseDirectories && !panel.chooseFiles) {
        d.setFileMode(QFileDialog::Directory);
        d.setOption(QFileDialog::ShowDirsOnly, true);
    } else {
        d.setFileMode(panel.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    }
    if (!panel.nameFilters.isEmpty())
        d.setNameFilters(panel.nameFilters);
    if (!panel.prompt.isEmpty())
        d.setLabelText(QFileDialog::Accept, panel.prompt);
    QCheckBox* box = nullptr;
    if (!panel.checkBoxText.isEmpty()) {
        box = new QCheckBox(panel.checkBoxText, &d);
        box->setChecked(panel.checkBoxChecked);
        if (auto* grid = qobject_cast<QGridLayout*>(d.layout()))
            grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
    }
    OpenResult r;
    if (d.exec() == QDialog::Accepted) {
        r.paths = d.selectedFiles();
        if (!panel.multiple && r.paths.size() > 1)
            r.paths = r.paths.mid(0, 1);
    }
    r.checkBoxChecked = box && box->isChecked();
    return r;
}

std::optional<QString> QtDialogs::savePanel(const SavePanel& panel)
{
    QFileDialog d(m_parent, panel.title, panel.directory);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    if (!panel.nameFilters.isEmpty())
        d.setNameFilters(panel.nameFilters);
    if (!panel.fileName.isEmpty())
        d.selectFile(panel.fileName);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return std::nullopt;
    return d.selectedFiles().first();
}

Dialogs::AlertResult QtDialogs::alert(const Alert& a)
{
    WideMessageBox box(m_parent);
    box.setIcon(a.style == Style::Information ? QMessageBox::Information
                : a.style == Style::Critical  ? QMessageBox::Critical
                                              : QMessageBox::Warning);
    box.setText(a.message);
    box.setInformativeText(a.informative);
    const QStringList titles = a.buttons.isEmpty() ? QStringList{L("OK", "好")} : a.buttons;
    QList<QPushButton*> buttons;
    for (int i = 0; i < titles.size(); ++i) {
        // One role for all keeps the buttons in the order given.
        auto* b = box.addButton(titles[i], QMessageBox::ActionRole);
        buttons.append(b);
    }
    if (a.defaultButton >= 0 && a.defaultButton < buttons.size())
        box.setDefaultButton(buttons[a.defaultButton]);
    if (a.destructiveButton >= 0 && a.destructiveButton < buttons.size())
        buttons[a.destructiveButton]->setProperty("destructive", true);
    setEscapeAnswer(box, buttons, a.cancelButton);
    QCheckBox* check = nullptr;
    if (!a.suppressionText.isEmpty()) {
        check = new QCheckBox(a.suppressionText, &box);
        box.setCheckBox(check);
    }
    box.exec();
    AlertResult r;
    r.button = int(buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
    r.suppressed = check && check->isChecked();
    return r;
}

std::optional<QString> QtDialogs::promptText(const TextPrompt& p)
{
    QInputDialog d(m_parent);
    d.setWindowTitle(p.title);
    d.setLabelText(p.message);
    d.setTextValue(p.text);
    if (auto* edit = d.findChild<QLineEdit*>())
        edit->setPlaceholderText(p.placeholder);
    if (!p.okText.isEmpty())
        d.setOkButtonText(p.okText);
    if (!p.cancelText.isEmpty())
        d.setCancelButtonText(p.cancelText);
    if (d.exec() != QDialog::Accepted)
        return std::nullopt;
    return d.textValue();
}

std::optional<Dialogs::CheckedText> QtDialogs::promptTextAndCheck(const TextPrompt& p, const QString& checkBoxText)
{
    QDialog d(m_parent);
    d.setWindowTitle(p.title);
    auto* layout = new QVBoxLayout(&d);
    if (!p.message.isEmpty())
        layout->addWidget(new QLabel(p.message, &d));
    auto* edit = new QLineEdit(p.text, &d);
    edit->setPlaceholderText(p.placeholder);
    edit->setMinimumWidth(260);
    layout->addWidget(edit);
    auto* check = new QCheckBox(checkBoxText, &d);
    layout->addWidget(check);
    auto* buttons = new QDialogButtonBox(&d);
    auto* ok = buttons->addButton(p.okText.isEmpty() ? L("OK", "好") : p.okText, QDialogButtonBox::AcceptRole);
    buttons->addButton(p.cancelText.isEmpty() ? L("Cancel", "取消") : p.cancelText, QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    layout->addWidget(buttons);
    edit->setFocus();
    if (d.exec() != QDialog::Accepted)
        return std::nullopt;
    return CheckedText{edit->text(), check->isChecked()};
}
