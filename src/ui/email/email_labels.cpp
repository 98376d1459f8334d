#include "email/email_labels.h"

#include "common/icons.h"
#include "platform/lang.h"

#include <QAbstractButton>

void copyButtonLabel(QAbstractButton* button)
{
    button->setIcon(symbolIcon(QStringLiteral("doc.on.doc")));
    button->setText({});
    button->setAccessibleName(L("Copy", "复制"));
    button->setToolTip(button->accessibleName());
}

void removeButtonLabel(QAbstractButton* button)
{
    button->setIcon(symbolIcon(QStringLiteral("xmark.circle.fill")));
    button->setText({});
    button->setAccessibleName(L("Remove", "移除"));
    button->setToolTip(button->accessibleName());
}
