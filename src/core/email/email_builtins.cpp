#include "email/email_builtins.h"

const EmailTemplate& BuiltInEmail::deliveryNotice()
{
    static const EmailTemplate t{QUuid::createUuid(),
                                 "Delivery Notice",
                                 EmailTemplate::Mode::batch,
                                 "- %corrected_name (was %original_name)",
                                 "Hi %recipient,\n\nPlease find the following %count file[s] ready for "
                                 "delivery as of %date:\n\n%filelist\n\nBest,\n%sender",
                                 {"recipient", "sender"}};
    return t;
}

const EmailTemplate& BuiltInEmail::singleFileNotice()
{
    static const EmailTemplate t{QUuid::createUuid(),
                                 "Single File Notice",
                                 EmailTemplate::Mode::perFile,
                                 "- %corrected_name (was %original_name)",
                                 "Hi %recipient,\n\n\"%corrected_name\" is ready (was %original_name)."
                                 "\n\nBest,\n%sender",
                                 {"recipient", "sender"}};
    return t;
}

QList<EmailTemplate> BuiltInEmail::all()
{
    return {deliveryNotice(), singleFileNotice()};
}
