// The two built-in e-mail templates.
#include "email_template.h"

const EmailTemplate& EmailTemplate::deliveryNotice()
{
    static const EmailTemplate t{QUuid::createUuid(),
                                 "Delivery Notice",
                                 Mode::batch,
                                 "- %corrected_name (was %original_name)",
                                 "Hi %recipient,\n\nPlease find the following %count file[s] ready for "
                                 "delivery as of %date:\n\n%filelist\n\nBest,\n%sender",
                                 {"recipient", "sender"}};
    return t;
}

const EmailTemplate& EmailTemplate::singleFileNotice()
{
    static const EmailTemplate t{QUuid::createUuid(),
                                 "Single File Notice",
                                 Mode::perFile,
                                 "- %corrected_name (was %original_name)",
                                 "Hi %recipient,\n\n\"%corrected_name\" is ready (was %original_name)."
                                 "\n\nBest,\n%sender",
                                 {"recipient", "sender"}};
    return t;
}

QList<EmailTemplate> EmailTemplate::builtIns()
{
    return {deliveryNotice(), singleFileNotice()};
}
