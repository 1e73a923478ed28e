#include "BrowserFixture.h"

#include "exchange/frmEmail.h"
#include "support/SmtpServer.h"
#include "support/ZipReadBack.h"

#include <QCheckBox>
#include <QLineEdit>

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
    w.lstVRecipes()->setCurrentItem(listItem(w.lstVRecipes(), "Beef Stew"));
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

} // namespace
