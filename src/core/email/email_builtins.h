#pragma once
// The two built-in e-mail templates. Each is made once per process run, so every use within a
// run carries the same id and a new run gives new ids.
#include "email/email_template.h"

#include <QList>

namespace BuiltInEmail {
const EmailTemplate& deliveryNotice();
const EmailTemplate& singleFileNotice();
// Both, in the order a reset or an empty stored list restores them.
QList<EmailTemplate> all();
}  // namespace BuiltInEmail
