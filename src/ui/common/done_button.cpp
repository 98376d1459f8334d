#include "done_button.h"

#include "platform/lang.h"

#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout* doneButton(QWidget* host, std::function<void()> action)
{
    auto* done = new QPushButton(L("Done", "完成"), host);
    done->setObjectName("doneButton");
    done->setDefault(true);
    done->setAutoDefault(true);
    QObject::connect(done, &QPushButton::clicked, host, [action = std::move(action)] { action(); });
    auto* footer = new QHBoxLayout;
    footer->addStretch(1);
    footer->addWidget(done);
    return footer;
}
