#include "email/email_file_context.h"
#include "model/file_item.h"
#include "smartrename/smart_rename_recognize.h"

#include <gtest/gtest.h>

TEST(EmailFileContexts, ListedFilesAreReadWithBothRetries)
{
    SmartRename::CustomNamingConfig dashed;
    dashed.separator = "-";
    struct Case {
        const char* what;
        const char* file;
        SmartRenameStyle style;
        SmartRename::CustomNamingConfig config;
        EmailFileContext expected;
    };
    const Case cases[] = {
        {"first reading finds a version",
         "ABC_Summer Sale_Trlr_30_V2.mov",
         SmartRenameStyle::finishing,
         {},
         {"ABC_Summer Sale_Trlr_30_V2.mov", "ABC_SummerSale_Trlr_30_V2.mov", "ABC", "SummerSale", "Trlr", "30", "2"}},
        {"no extension, no trailing dot",
         "ABC_SummerSale_30_V1",
         SmartRenameStyle::finishing,
         {},
         {"ABC_SummerSale_30_V1", "ABC_SummerSale_30_V1", "ABC", "SummerSale", "", "30", "1"}},
        {"the layout's separator read as \"_\"",
         "ABC-SummerSale-Trlr-30-V2.mov",
         SmartRenameStyle::custom,
         dashed,
         {"ABC-SummerSale-Trlr-30-V2.mov", "ABC-SummerSale-Trlr-30-V2.mov", "ABC", "SummerSale", "Trlr", "30", "2"}},
        {"\"_\" layout: no separator retry",
         "ABC-SummerSale-Trlr-30-V2.mov",
         SmartRenameStyle::finishing,
         {},
         {"ABC-SummerSale-Trlr-30-V2.mov", "AbcSummerSaleTrlr30V2.mov", "", "AbcSummerSaleTrlr30V2", "", "", ""}},
        {"e-mail style name read again without a code",
         "\"Summer Sale\" Trlr :30 V.2.mov",
         SmartRenameStyle::finishing,
         {},
         {"\"Summer Sale\" Trlr :30 V.2.mov", "SummerSale_Trlr_30_V2.mov", "", "SummerSale", "Trlr", "30", "2"}},
        {"no version anywhere: the first reading stands",
         "ABC_Spot_Trlr_30.mov",
         SmartRenameStyle::finishing,
         {},
         {"ABC_Spot_Trlr_30.mov", "ABC_Spot_Trlr_30.mov", "ABC", "Spot", "Trlr", "30", ""}},
    };
    for (const Case& c : cases) {
        const FileItem item = FileItem::file(QString("/tmp/") + c.file);
        EXPECT_EQ(EmailFileContext::fromFile(item, c.style, SmartRename::builtInCutTypes(), c.config, {}), c.expected)
            << c.what;
    }
}
