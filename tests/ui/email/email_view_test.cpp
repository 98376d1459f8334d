#include "../app/shell_fixture.h"
#include "app/main_window.h"
#include "common/clipboard.h"
#include "common/segmented_control.h"
#include "email/email_builtins.h"
#include "email/email_results_view.h"
#include "email/email_tab.h"
#include "email/email_template_editor.h"
#include "email/email_template_row.h"
#include "email/email_view.h"
#include "platform/settings.h"
#include "test_support.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class FakeClipboard : public Clipboard {
public:
    void setText(const QString& text) override
    {
        m_text = text;
        ++writes;
    }
    QString text() const override { return m_text; }
    int writes = 0;

private:
    QString m_text;
};

EmailFileContext ctx(const QString& spot)
{
    return {spot + ".mov", "ABC_" + spot + "_Trlr_30_V1.mov", "ABC", spot, "Trlr", "30", "V1"};
}

struct EmailViewFixture {
    TestEnv env;
    std::unique_ptr<Store> store;
    FakeDialogs dialogs;
    FakeClipboard clipboard;
    std::unique_ptr<EmailView> view;

    explicit EmailViewFixture(bool zh = false, std::optional<QList<EmailFileContext>> handOver = {})
    {
        store = env.makeStore();
        store->setLangZh(zh);
        store->setPendingEmailContexts(std::move(handOver));
        view = std::make_unique<EmailView>(*store, dialogs, clipboard);
        view->resize(900, 900);
        view->show();
    }
    EmailTab& tab() const { return store->emailTab(); }
    EmailTemplateRow* row() const { return view->templateRow(); }
    QStringList pickerTexts() const
    {
        QStringList out;
        for (int i = 0; i < row()->picker()->count(); ++i)
            out << row()->picker()->itemText(i);
        return out;
    }
};

}  // namespace

TEST(EmailView, TemplateRowSpeaksBothLanguagesAndFollowsTheList)
{
    struct Case {
        bool zh;
        QStringList buttons;  // New, Duplicate, Delete, Import, Export, Edit, Generate, Clear
        const char* newName;
    };
    const Case cases[] = {
        {false, {"New", "Duplicate", "Delete", "Import", "Export", "Edit", "Generate", "Clear"}, "New Template"},
        {true, {"新建", "复制", "删除", "导入", "导出", "编辑", "生成", "清空"}, "新模板"},
    };
    for (const Case& c : cases) {
        EmailViewFixture f(c.zh);
        EmailTemplateRow* r = f.row();
        const QList<QPushButton*> buttons{r->newButton(),           r->duplicateButton(), r->deleteButton(),
                                          r->importButton(),        r->exportButton(),    r->editButton(),
                                          f.view->generateButton(), f.view->clearButton()};
        for (int i = 0; i < buttons.size(); ++i)
            EXPECT_EQ(buttons[i]->text(), c.buttons[i]);
        EXPECT_EQ(f.pickerTexts(), (QStringList{"Delivery Notice — Batch (one email, all files)",
                                                "Single File Notice — Per File (one email each)"}));
        EXPECT_FALSE(f.view->generateButton()->isEnabled());  // no files loaded
        EXPECT_FALSE(f.view->clearButton()->isEnabled());

        ui::click(r->newButton());
        EXPECT_EQ(f.store->email().emailTemplates.last().name, QString::fromUtf8(c.newName));
        EXPECT_EQ(r->picker()->currentIndex(), 2);
        EXPECT_TRUE(f.view->editor()->isVisible());
        EXPECT_TRUE(r->editButton()->isChecked());
        ui::click(r->duplicateButton());
        EXPECT_EQ(r->picker()->currentIndex(), 3);
        EXPECT_TRUE(f.view->editor()->isVisible());

        r->picker()->setCurrentIndex(0);
        emit r->picker()->activated(0);
        EXPECT_EQ(f.tab().state().selectedTemplateID, BuiltInEmail::deliveryNotice().id);
        for (int i = 0; i < 4; ++i)
            ui::click(r->deleteButton());
        EXPECT_TRUE(f.store->email().emailTemplates.isEmpty());
        EXPECT_FALSE(r->duplicateButton()->isVisible());
        EXPECT_FALSE(r->deleteButton()->isVisible());
        EXPECT_FALSE(r->exportButton()->isEnabled());
        EXPECT_FALSE(f.view->editor()->isVisible());
        EXPECT_TRUE(r->newButton()->isEnabled() && r->importButton()->isEnabled());
    }
}

TEST(EmailView, ImportAndExportGoThroughThePanels)
{
    EmailViewFixture f;
    const QString path = f.env.path("picked name.json");
    ui::click(f.row()->exportButton());  // cancelled: no message
    EXPECT_EQ(f.dialogs.saves.size(), 1);
    EXPECT_EQ(f.dialogs.saves[0].fileName, "EmailTemplates.json");
    const QString before = f.store->status();
    f.dialogs.saveAnswers.push_back(path);
    ui::click(f.row()->exportButton());
    EXPECT_EQ(f.store->status(), "Exported picked name.json");
    EXPECT_NE(before, f.store->status());

    ui::click(f.row()->importButton());  // cancelled
    EXPECT_EQ(f.store->email().emailTemplates.size(), 2);
    EXPECT_FALSE(f.dialogs.opens[0].multiple);
    f.dialogs.answerOpen({path});
    ui::click(f.row()->importButton());
    EXPECT_EQ(f.store->status(), "Imported 2 template(s).");
    EXPECT_EQ(f.pickerTexts().size(), 4);
    EXPECT_EQ(f.row()->picker()->currentIndex(), 2);
}

TEST(EmailView, EditorChangesAreSavedWithEveryKeystroke)
{
    EmailViewFixture f;
    ui::click(f.row()->editButton());
    EmailTemplateEditor* e = f.view->editor();
    ASSERT_TRUE(e->isVisible());
    EXPECT_EQ(e->nameField()->text(), "Delivery Notice");
    EXPECT_EQ(e->tokenHelpLabel()->text(), "%filelist  %count  %date  %recipient  %sender");
    EXPECT_TRUE(e->lineTemplateField()->isVisible());

    e->nameField()->setFocus();
    e->nameField()->end(false);
    ui::typeText(e->nameField(), "!");
    EXPECT_EQ(f.pickerTexts().first(), "Delivery Notice! — Batch (one email, all files)");
    const auto saved = decodeEmailTemplates(*f.env.settings->dataValue("emailTemplates"));
    EXPECT_EQ(saved->first().name, "Delivery Notice!");

    ui::click(e->modePicker()->segment(1));  // Per File: no line template, per-file tokens
    EXPECT_FALSE(e->lineTemplateField()->isVisible());
    EXPECT_EQ(e->tokenHelpLabel()->text(), "%original_name  %corrected_name  %code  %spotname  %cuttype  %timing  "
                                           "%version  %date  %recipient  %sender");
    ui::click(e->modePicker()->segment(0));
    EXPECT_EQ(e->lineTemplateField()->text(), "- %corrected_name (was %original_name)");

    e->newFieldEntry()->setFocus();
    ui::typeText(e->newFieldEntry(), " Project Lead ");
    ui::key(e->newFieldEntry(), Qt::Key_Return);
    EXPECT_EQ(f.tab().selectedTemplate()->customFields, (QStringList{"recipient", "sender", "project_lead"}));
    EXPECT_TRUE(e->newFieldEntry()->text().isEmpty());
    ASSERT_TRUE(e->removeButton("sender"));
    EXPECT_EQ(e->removeButton("sender")->accessibleName(), "Remove");
    ui::click(e->removeButton("sender"));
    EXPECT_EQ(f.tab().selectedTemplate()->customFields, (QStringList{"recipient", "project_lead"}));
    EXPECT_TRUE(f.view->sources()->customValueField("project_lead"));

    e->bodyEditor()->setPlainText("Hi %project_lead");
    EXPECT_EQ(f.tab().selectedTemplate()->body, "Hi %project_lead");
    ui::click(e->resetAllButton());
    EXPECT_EQ(f.store->email().emailTemplates, BuiltInEmail::all());
    EXPECT_EQ(e->nameField()->text(), "Delivery Notice");
    EXPECT_EQ(e->bodyEditor()->toPlainText(), BuiltInEmail::deliveryNotice().body);
}

TEST(EmailView, SmartRenameHandOverGeneratesAtOnce)
{
    {
        EmailViewFixture one(false, QList<EmailFileContext>{ctx("Spot")});
        EXPECT_EQ(one.tab().selectedTemplate(), BuiltInEmail::singleFileNotice());
        EXPECT_EQ(one.view->sources()->sourceLabel()->text(), "Using 1 file(s) from Smart Rename");
        EmailResultsView* r = one.view->results();
        EXPECT_TRUE(r->perFileView()->isVisible());
        EXPECT_FALSE(r->batchView()->isVisible());
        EXPECT_EQ(r->resultsHeader()->text(), "Results (1)");
        ASSERT_EQ(r->cardEditors().size(), 1);
        EXPECT_TRUE(r->cardEditors()[0]->toPlainText().contains("\"ABC_Spot_Trlr_30_V1.mov\" is ready (was Spot.mov)"));
    }
    EmailViewFixture all(true, QList<EmailFileContext>{ctx("A"), ctx("B"), ctx("C")});
    EXPECT_EQ(all.tab().selectedTemplate(), BuiltInEmail::deliveryNotice());
    EXPECT_EQ(all.view->sources()->sourceLabel()->text(), QString::fromUtf8("使用来自智能改名的 3 个文件"));
    EmailResultsView* r = all.view->results();
    EXPECT_TRUE(r->batchView()->isVisible());
    EXPECT_TRUE(r->batchEditor()->toPlainText().contains("following 3 files ready"));
    EXPECT_EQ(r->copyButton()->text(), QString::fromUtf8("复制"));

    // A hand-over while the tab is shown is taken at once.
    all.store->setPendingEmailContexts(QList<EmailFileContext>{ctx("D")});
    EXPECT_FALSE(all.store->email().pendingEmailContexts);
    EXPECT_EQ(r->resultsHeader()->text(), QString::fromUtf8("结果(1)"));
    EXPECT_EQ(r->cardCopyButtons()[0]->accessibleName(), QString::fromUtf8("复制"));
}

TEST(EmailView, LoadedFilesCustomValuesAndCopies)
{
    EmailViewFixture f;
    f.store->setItems({FileItem::file(f.env.makeFile("ABC_Spot_Trlr_30_V1.mov")),
                       FileItem::file(f.env.makeFile("XYZ_Other_Trlr_15_V2.mov"))});
    EXPECT_EQ(f.view->sources()->sourceLabel()->text(), "No files loaded.");
    ui::click(f.view->sources()->useLoadedButton());
    EXPECT_EQ(f.view->sources()->sourceLabel()->text(), "Using 2 loaded file(s)");
    EXPECT_TRUE(f.view->generateButton()->isEnabled());

    f.row()->picker()->setCurrentIndex(1);
    emit f.row()->picker()->activated(1);
    QLineEdit* recipient = f.view->sources()->customValueField("recipient");
    ASSERT_TRUE(recipient);
    recipient->setFocus();
    ui::typeText(recipient, "Ann");
    EXPECT_EQ(f.tab().state().customValues.value("recipient"), "Ann");
    ui::click(f.view->generateButton());

    EmailResultsView* r = f.view->results();
    ASSERT_EQ(r->cardEditors().size(), 2);
    EXPECT_TRUE(r->cardEditors()[0]->toPlainText().startsWith("Hi Ann,"));
    EXPECT_TRUE(r->cardEditors()[1]->toPlainText().endsWith("%sender"));  // left untouched
    r->cardEditors()[1]->setPlainText("edited");
    ui::click(r->cardCopyButtons()[1]);
    EXPECT_EQ(f.clipboard.text(), "edited");
    ui::click(r->copyAllButton());
    EXPECT_EQ(f.clipboard.text(), r->cardEditors()[0]->toPlainText() + "\n\n----------\n\nedited");

    f.row()->picker()->setCurrentIndex(0);  // batch template: the per-file results stay shown
    emit f.row()->picker()->activated(0);
    EXPECT_TRUE(r->perFileView()->isVisible());
    ui::click(f.view->generateButton());
    EXPECT_TRUE(r->batchView()->isVisible());
    r->batchEditor()->setPlainText("batch edited");
    ui::click(r->copyButton());
    EXPECT_EQ(f.clipboard.text(), "batch edited");

    ui::click(f.view->clearButton());
    EXPECT_FALSE(r->batchView()->isVisible());
    EXPECT_FALSE(f.view->generateButton()->isEnabled());
    EXPECT_TRUE(recipient->text().isEmpty());
}
