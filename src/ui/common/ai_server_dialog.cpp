#include "ai_server_dialog.h"

#include "ai/ai_name.h"
#include "common/dialogs.h"
#include "model/store.h"
#include "platform/lang.h"
#include "platform/settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

AIServerDialog::AIServerDialog(Store& store, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_store(store), m_dialogs(dialogs), m_config(ModelServerConfig::load(store.settings()))
{
    setObjectName("aiServerDialog");
    setWindowTitle(L("AI Server Settings", "AI 服务设置"));
    auto* layout = new QVBoxLayout(this);

    auto* intro = new QLabel(
        L("AI naming asks a language model server on this computer that speaks the "
          "OpenAI-compatible API (llama.cpp server, Ollama, LM Studio…).",
          "AI 命名会询问本机上兼容 OpenAI 接口的语言模型服务(llama.cpp server、Ollama、LM Studio 等)。"));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_enabled = new QCheckBox(L("Use a language model server", "使用语言模型服务"));
    m_enabled->setChecked(m_config.enabled);
    layout->addWidget(m_enabled);

    auto* form = new QFormLayout;
    m_address = new QLineEdit(m_config.address);
    m_address->setObjectName("aiServerAddress");
    m_address->setPlaceholderText(QStringLiteral("http://127.0.0.1:8080"));
    m_address->setMinimumWidth(320);
    form->addRow(L("Server address:", "服务地址:"), m_address);
    m_model = new QLineEdit(m_config.model);
    m_model->setObjectName("aiModelName");
    m_model->setPlaceholderText(L("first model the server lists", "服务列出的第一个模型"));
    form->addRow(L("Model:", "模型:"), m_model);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(L("OK", "好"));
    buttons->button(QDialogButtonBox::Cancel)->setText(L("Cancel", "取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &AIServerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

AIServerDialog* AIServerDialog::openOver(QWidget* parent, Store& store, Dialogs& dialogs)
{
    auto* dialog = new AIServerDialog(store, dialogs, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->open();
    return dialog;
}

bool AIServerDialog::commit()
{
    ModelServerConfig config = m_config;
    config.enabled = m_enabled->isChecked();
    config.address = m_address->text().trimmed();
    config.model = m_model->text().trimmed();
    if (config.enabled && !config.baseUrl()) {
        Dialogs::Alert alert;
        alert.message = L("The server address is not a web address.", "服务地址不是网址。");
        alert.informative = L("Use a form like http://127.0.0.1:8080.", "请使用 http://127.0.0.1:8080 这样的形式。");
        m_dialogs.alert(alert);
        return false;
    }
    if (config.enabled && !ModelServerConfig::isLocalAddress(config.address)
        && config.confirmedRemote != config.address) {
        const bool sendAway =
            m_dialogs.question(L("Send file contents to another computer?", "要把文件内容发送到另一台电脑吗?"),
                               L("This address is not on this computer. AI naming sends the text of your files to it.",
                                 "此地址不在本机。AI 命名会把文件的文本发送给它。"),
                               L("Cancel", "取消"), L("Use This Address", "使用此地址"));
        if (!sendAway)
            return false;
        config.confirmedRemote = config.address;
    }
    config.save(m_store.settings());
    AIName::setServerConfig(config);
    AIName::refreshAvailability();
    m_config = config;
    return true;
}

void AIServerDialog::accept()
{
    if (commit())
        QDialog::accept();
}
