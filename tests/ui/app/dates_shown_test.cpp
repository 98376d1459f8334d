// Dates the user reads follow the language shown, not the system's.
#include "../batch/batch_fixture.h"
#include "app/bottom_bar.h"
#include "app/rename_log_sheet.h"

#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QTableView>
#include <gtest/gtest.h>

TEST(DatesShown, HistoryMenuAndRenameLogFollowTheLanguage)
{
    BatchFixture f;
    f.list({"a.txt"});
    f.prefix("x_");
    f.view->applyAction();
    ASSERT_TRUE(QFile::exists(f.env.path("x_a.txt")));
    BottomBar bar(*f.store);

    auto shown = [&] {
        QStringList out;
        const QStringList entries = ui::menuTexts(bar.historyMenu());
        out << entries.last().section(QStringLiteral(" · "), 1);
        RenameLogSheet sheet(*f.store, f.dialogs);
        out << sheet.table()->model()->index(0, 0).data().toString();
        return out;
    };
    // Chinese dates read year/month/day with a 24-hour clock; no English month or AM/PM.
    const QRegularExpression chinese(QStringLiteral("^\\d{4}/\\d{1,2}/\\d{1,2} \\d{1,2}:\\d{2}(:\\d{2})?$"));
    const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    f.store->setLangZh(true);
    const QStringList zh = shown();
    f.store->setLangZh(false);
    const QStringList en = shown();
    ASSERT_EQ(zh.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(chinese.match(zh[i]).hasMatch()) << zh[i].toStdString();
        EXPECT_NE(zh[i], en[i]);
    }
    EXPECT_FALSE(latin.match(zh.join(' ')).hasMatch());
}
