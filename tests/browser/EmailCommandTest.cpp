#include "BrowserFixture.h"

#include "browser/frmOptions.h"
#include "core/Settings.h"
#include "exchange/frmEmail.h"
#include "support/SmtpServer.h"
#include "support/ZipReadBack.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {

class EmailCommand : public BrowserTest {};

// The toolbar's Email opens the e-mail dialog over the real page writer: the displayed recipe goes as a
// page, and once recipes are marked, those go instead.
TEST_F(EmailCommand, SendsTheDisplayedRecipeThenTheMarkedOnes)
{
    SmtpServer server;
    if (!server.running())
        GTEST_SKIP() << server.whyNot().toStdString();
    const QString cookbook = makeCookbook();
    writeSettings("[Options]\r\nOpen Last=True\r\nLast CookBook=" + cookbook.toUtf8() + "\r\nSMTP Server=" +
                  server.host().toUtf8() + "\r\nSenders Email=cook@example.org\r\n");
    frmMain w;
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=0");
    w.tvRecipes()->setCurrentItem(child(w.tvRecipes(), "Recipes", "List All"));
    w.tvRecipes_DblClick();
    listItem(w.lstVRecipes(), "Beef Stew")->select();
    w.lstVRecipes_Click();

    auto sendWith = [&](bool zip) {
        QString opened;
        whenModalOpens([&](QWidget* dialog) {
            opened = dialog->objectName();
            auto* email = qobject_cast<frmEmail*>(dialog);
            ASSERT_NE(email, nullptr);
            email->txtRecipients->setText("ann@example.org");
            email->optSendAs_Click(0);
            email->chkZip->setChecked(zip);
            email->cmdSend_Click();
        });
        w.commandButton("TOOLBAR:EMAIL")->trigger();
        EXPECT_EQ(opened, "frmEmail");
    };
    sendWith(false);
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=1 WHERE TITLE IN ('Carrot Soup', 'apple Crumble')");
    sendWith(true);

    const QList<ReceivedMail> got = server.received();
    ASSERT_EQ(got.size(), 2);
    ASSERT_NE(got[0].part("recipe.html"), nullptr);
    EXPECT_TRUE(got[0].part("recipe.html")->data.contains("Beef Stew"));
    ASSERT_NE(got[1].part("recipes.zip"), nullptr);
    const ZipEntries entries = readZip(got[1].part("recipes.zip")->data);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_TRUE(entries[0].second.contains("apple Crumble"));
    EXPECT_TRUE(entries[1].second.contains("Carrot Soup"));
}

// "No mail server is set" leads to Preferences on its Email page, over the e-mail dialog that blocks the
// window; after OK the typed message is still there and Send delivers it.
TEST_F(EmailCommand, NoServerLeadsToPreferencesAndBack)
{
    SmtpServer server;
    if (!server.running())
        GTEST_SKIP() << server.whyNot().toStdString();
    const QString cookbook = makeCookbook();
    writeSettings("[Options]\r\nOpen Last=True\r\nLast CookBook=" + cookbook.toUtf8() + "\r\nSenders Email=cook@example.org\r\n");
    frmMain w;
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=0 WHERE TITLE<>'Beef Stew'");
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=1 WHERE TITLE='Beef Stew'");
    frmEmail dlg(&w);
    dlg.show();
    dlg.txtRecipients->setText("ann@example.org");
    dlg.txtSubject->setText("Stew");
    dlg.txtMsg->setPlainText("For Sunday");

    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* options = qobject_cast<frmOptions*>(QApplication::activeModalWidget());
        if (!options)
            return;
        poll.stop();
        answered = true;
        EXPECT_EQ(options->parentWidget(), &dlg);
        EXPECT_TRUE(options->fraOptions[1]->isVisible());
        options->txtSMTP->setText(server.host());
        options->cmdOk_Click();
    });
    poll.start(10);
    dlg.cmdSend_Click(); // the recorder answers OK
    poll.stop();
    ASSERT_TRUE(answered) << "Preferences did not open";
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.contains("No mail server is set"));
    EXPECT_EQ(ReadINI("Options", "SMTP Server"), server.host());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.txtMsg->toPlainText(), "For Sunday");

    dlg.cmdSend_Click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.isSending(); }, 30000));
    const QList<ReceivedMail> got = server.received();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].subject, "Stew");
    ASSERT_FALSE(got[0].parts.isEmpty());
    EXPECT_TRUE(got[0].parts[0].data.contains("For Sunday") && got[0].parts[0].data.contains("Beef Stew"));
}

} // namespace
