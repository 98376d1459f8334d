#pragma once
// What the Email tab shows and edits while it is open: the picked template, the files the
// e-mails are about, the values typed for custom fields and the last results. It starts afresh
// each time the tab is shown.
#include "email/email_file_context.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QUuid>
#include <optional>

// One e-mail of a per-file rendering; a fresh id every rendering.
struct RenderedEmail {
    QUuid id;
    QString title;  // the file's corrected name
    QString text;
    bool operator==(const RenderedEmail&) const = default;
};

struct EmailTabState {
    std::optional<QUuid> selectedTemplateID;
    bool showEditor = false;
    QList<EmailFileContext> contexts;
    QString sourceLabel;
    QMap<QString, QString> customValues;
    QString newFieldName;
    QString batchResult;
    QList<RenderedEmail> perFileResults;

    bool operator==(const EmailTabState&) const = default;
};
