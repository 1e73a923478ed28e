#include "exchange/frmEmail.h"

#include "browser/RecipePage.h"
#include "core/DE.h"
#include "core/PageFolder.h"
#include "core/Settings.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "exchange/frmAddressBook.h"
#include "platform/paths/ProgramFolder.h"
#include "core/SmallDisk.h"
#include "support/HtmlTags.h"
#include "support/ModalAnswer.h"
#include "support/ScriptedSmtp.h"
#include "support/ScratchProgram.h"
#include "support/SecondProcess.h"
#include "support/SmtpServer.h"
#include "support/StubMainWindow.h"
#include "support/TestFiles.h"
#include "support/TestQueries.h"
#include "support/UiRecorder.h"
#include "support/ZipReadBack.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <gtest/gtest.h>
#include <iostream>

namespace {

// The main window's page writer, as the real window runs it.
class PageWindow final : public StubMainWindow {
public:
    void DisplayRecipe(const QString& key, bool email) override { WriteRecipePage(key, email); }
};

QByteArray PictureBytes(int seed)
{
    QByteArray bytes(5000, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 31 + seed) % 256);
    return bytes;
}

enum Mode { Attachments, Zip, Body };

class EmailDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!server.running())
            GTEST_SKIP() << server.whyNot().toStdString();
        program.createCookbook();
        basMain::sTemplatePath = program.path("templates/default.html");
        WriteINI("Options", "SMTP Server", server.host());
        WriteINI("Options", "Senders Email", "cook@example.org");
        WriteINI("Options", "Senders Name", "The Cook");
    }
    qint64 recipe(const QString& title, bool marked, const QString& pictureName = {}, const QByteArray& picture = {})
    {
        QVariantMap row{{"TITLE", title}, {"AUTHOR", "Tester"}, {"CATEGORY", "Baking"}, {"INGREDIENTS", "1 egg"}, {"INSTRUCTIONS", "Bake."}, {"MARK", marked ? 1 : 0}};
        if (!pictureName.isEmpty())
            row.insert({{"PICTURENAME", pictureName}, {"RECIPEPICTURE", picture}});
        return insertRecipe(row);
    }
    void display(qint64 id) { ASSERT_FALSE(WriteRecipePage("R" + QString::number(id), false).isEmpty()); }
    // Fills the dialog and sends in the mode given.
    void send(frmEmail& dlg, Mode mode, const QString& recipients = "ann@example.org;bob@example.org")
    {
        dlg.show();
        dlg.txtRecipients->setText(recipients);
        dlg.txtMsg->setPlainText("See <these>\nEnjoy");
        dlg.optSendAs_Click(mode == Body ? 1 : 0);
        dlg.chkZip->setChecked(mode == Zip);
        dlg.cmdSend_Click();
        finish(dlg);
    }
    // Waits until the send has ended (sent, failed or cancelled).
    static void finish(frmEmail& dlg) { EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.isSending(); }, 30000)); }
    QStringList boxTitles() const
    {
        QStringList titles;
        for (const RecordedBox& b : recorder.boxes)
            titles << b.title;
        return titles;
    }
    QStringList leftOver() const
    {
        QStringList files = QDir(program.page("email")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        if (QFileInfo::exists(program.page("email")))
            files << "email/";
        if (QFileInfo::exists(program.path("recipe.html")))
            files << "recipe.html";
        return files;
    }
    static QStringList filenames(const ReceivedMail& m)
    {
        QStringList names;
        for (const ReceivedPart& p : m.parts)
            names << p.filename;
        return names;
    }

    ScratchProgram program;
    UiRecorder recorder;
    SmtpServer server;
    PageWindow window;
};

TEST_F(EmailDialog, TheDisplayedRecipeTravelsWithItsPicture)
{
    const QByteArray tart = PictureBytes(1);
    for (Mode mode : {Body, Attachments}) {
        SCOPED_TRACE(mode == Body ? "body" : "attachments");
        const qint64 before = server.received().size();
        recorder.boxes.clear();
        display(recipe(mode == Body ? "Lemon Tart" : "Plum Tart", false, "tart.jpg", tart));
        frmEmail dlg;
        send(dlg, mode);

        EXPECT_EQ(boxTitles(), QStringList{"Success"});
        EXPECT_EQ(recorder.boxes.value(0).text, "Recipe succesfully sent");
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(leftOver(), QStringList());
        const QList<ReceivedMail> got = server.received();
        ASSERT_EQ(got.size(), before + 1);
        const ReceivedMail& m = got.last();
        EXPECT_EQ(m.subject, "Recipes from Tovalquendry");
        EXPECT_EQ(m.from, "\"The Cook\" <cook@example.org>");
        EXPECT_EQ(m.envelopeTo, "ann@example.org, bob@example.org");
        ASSERT_EQ(m.parts.size(), mode == Body ? 2 : 3);
        if (mode == Body) {
            EXPECT_EQ(m.structure, (QStringList{"multipart/mixed", "multipart/related", "text/html", "image/jpeg"}));
            const QByteArray html = m.parts[0].data;
            EXPECT_TRUE(html.startsWith("See &lt;these&gt;<br>\r\nEnjoy\r\n\r\n<!DOCTYPE html>")) << html.left(80).toStdString();
            EXPECT_TRUE(html.contains("<h1>Lemon Tart</h1>"));
            EXPECT_TRUE(html.contains("src=\"cid:tart.jpg@tovalquendry\""));
            EXPECT_EQ(m.parts[1].contentId, "tart.jpg@tovalquendry");
            EXPECT_EQ(m.parts[1].data, tart);
        } else {
            EXPECT_EQ(filenames(m), (QStringList{"", "recipe.html", "tart.jpg"}));
            EXPECT_EQ(m.parts[0].data, QByteArray("See <these>\nEnjoy"));
            EXPECT_TRUE(m.parts[1].data.contains("<h1>Plum Tart</h1>"));
            EXPECT_TRUE(m.parts[1].data.contains("src=\"tart.jpg\""));
            EXPECT_FALSE(m.parts[1].data.contains(program.path().toUtf8()));
            EXPECT_EQ(m.parts[2].data, tart);
        }
    }
}

TEST_F(EmailDialog, ATemplateBesideTheProgramOutlivesTheSend)
{
    const QByteArray templateBytes = readBytes(program.path("templates/default.html"));
    writeBytes(program.path("recipe.html"), templateBytes);
    basMain::sTemplatePath = program.path("recipe.html");
    display(recipe("Lemon Tart", false));
    frmEmail dlg;
    send(dlg, Attachments);

    EXPECT_EQ(boxTitles(), QStringList{"Success"});
    EXPECT_EQ(readBytes(program.path("recipe.html")), templateBytes);
    const QList<ReceivedMail> got = server.received();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(filenames(got[0]), (QStringList{"", "recipe.html"}));
    EXPECT_TRUE(got[0].parts[1].data.contains("<h1>Lemon Tart</h1>"));
    EXPECT_TRUE(QDir(program.page("email")).entryList(QDir::Files).isEmpty());
}

TEST_F(EmailDialog, MarkedRecipesGoInEachModeAndTheDisplayedOneStaysHome)
{
    const QByteArray apple = PictureBytes(2), cherry = PictureBytes(3);
    recipe("Apple Pie", true, "apple.jpg", apple);
    recipe("Bread", true);
    recipe("Cherry Cake", true, "cherry.png", cherry);
    display(recipe("Displayed Dish", false));

    for (Mode mode : {Attachments, Zip, Body}) {
        SCOPED_TRACE(int(mode));
        const qint64 before = server.received().size();
        recorder.boxes.clear();
        frmEmail dlg;
        send(dlg, mode, "ann@example.org");
        EXPECT_EQ(boxTitles(), QStringList{"Success"});
        EXPECT_EQ(leftOver(), QStringList());
        const QList<ReceivedMail> got = server.received();
        ASSERT_EQ(got.size(), before + 1);
        const ReceivedMail& m = got.last();

        QByteArrayList pages;
        if (mode == Attachments) {
            EXPECT_EQ(filenames(m), (QStringList{"", "1.jpg", "recipe1.html", "recipe2.html", "3.png", "recipe3.html"}));
            EXPECT_EQ(m.parts.value(1).data, apple);
            EXPECT_EQ(m.parts.value(4).data, cherry);
            pages = {m.parts.value(2).data, m.parts.value(3).data, m.parts.value(5).data};
        } else if (mode == Zip) {
            ASSERT_EQ(filenames(m), (QStringList{"", "recipes.zip"}));
            const ZipEntries entries = readZip(m.parts[1].data);
            QStringList names;
            for (const auto& e : entries)
                names << e.first;
            EXPECT_EQ(names, (QStringList{"1.jpg", "3.png", "recipe1.html", "recipe2.html", "recipe3.html"}));
            ASSERT_EQ(entries.size(), 5);
            EXPECT_EQ(entries[0].second, apple);
            EXPECT_EQ(entries[1].second, cherry);
            pages = {entries[2].second, entries[3].second, entries[4].second};
        } else {
            EXPECT_EQ(m.structure, (QStringList{"multipart/mixed", "multipart/related", "text/html", "image/jpeg", "image/png"}));
            const QByteArray html = m.parts[0].data;
            EXPECT_TRUE(html.startsWith("See &lt;these&gt;<br>\r\nEnjoy\r\n\r\n"));
            EXPECT_LT(html.indexOf("Apple Pie"), html.indexOf("Bread"));
            EXPECT_LT(html.indexOf("Bread"), html.indexOf("Cherry Cake"));
            EXPECT_TRUE(html.contains("src=\"cid:1.jpg@tovalquendry\"") && html.contains("src=\"cid:3.png@tovalquendry\""));
            EXPECT_EQ(m.parts[1].contentId, "1.jpg@tovalquendry");
            EXPECT_EQ(m.parts[1].data, apple);
            EXPECT_EQ(m.parts[2].contentId, "3.png@tovalquendry");
            EXPECT_FALSE(html.contains("Displayed Dish"));
            continue;
        }
        ASSERT_EQ(pages.size(), 3);
        EXPECT_TRUE(pages[0].contains("<h1>Apple Pie</h1>") && pages[0].contains("src=\"1.jpg\""));
        EXPECT_TRUE(pages[1].contains("<h1>Bread</h1>") && !pages[1].contains("<img"));
        EXPECT_TRUE(pages[2].contains("<h1>Cherry Cake</h1>") && pages[2].contains("src=\"3.png\""));
        for (const QByteArray& page : pages)
            EXPECT_FALSE(page.contains(program.path().toUtf8()));
    }
}

TEST_F(EmailDialog, AFailedSendSaysWhyAndCleansUp)
{
    recipe("Apple Pie", true, "apple.jpg", PictureBytes(2));
    const struct {
        const char* name;
        Mode mode;
        std::function<void()> spoil;
        QString boxTitle, boxHolds, logged;
    } cases[] = {
        {"server down", Body, [] { WriteINI("Options", "SMTP Server", SmtpServer::closedHost()); },
         "Mail Send Error", "connect", ""},
        {"page not written", Attachments, [] { basMain::sTemplatePath = "/nowhere/template.html"; },
         "", "", "frmEmail cmdSend"},
        {"archive failing", Zip, [this] { QDir().mkpath(program.page("email/recipes.zip")); },
         "Tovalquendry", "recipes.zip", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.boxes.clear();
        c.spoil();
        frmEmail dlg;
        send(dlg, c.mode);
        EXPECT_TRUE(dlg.isVisible()); // what the user typed is still there to send again
        EXPECT_EQ(dlg.txtMsg->toPlainText(), "See <these>\nEnjoy");
        EXPECT_TRUE(server.received().isEmpty());
        EXPECT_EQ(leftOver(), QStringList());
        if (!c.boxTitle.isEmpty()) {
            ASSERT_EQ(boxTitles(), QStringList{c.boxTitle});
            EXPECT_TRUE(recorder.boxes[0].text.contains(c.boxHolds, Qt::CaseInsensitive)) << recorder.boxes[0].text.toStdString();
        }
        if (!c.logged.isEmpty())
            EXPECT_TRUE(program.errorLog().contains(c.logged)) << program.errorLog().toStdString();
        WriteINI("Options", "SMTP Server", server.host());
        basMain::sTemplatePath = program.path("templates/default.html");
        QDir(program.page("email/recipes.zip")).removeRecursively();
    }
}

TEST_F(EmailDialog, NothingToSendLeavesTheDialogReadyForAnotherTry)
{
    frmEmail dlg;
    dlg.show();
    EXPECT_TRUE(dlg.optSendAs[1]->isChecked());
    EXPECT_FALSE(dlg.chkZip->isEnabled());
    dlg.optSendAs_Click(0);
    EXPECT_TRUE(dlg.chkZip->isEnabled());
    dlg.optSendAs_Click(1);
    EXPECT_FALSE(dlg.chkZip->isEnabled());

    const struct {
        QString recipients, text, title;
    } cases[] = {
        {"", "Please enter a recipient", "Email.."},
        {"ann@example.org", "No recipe is currently selected", "Email Error"}, // nothing marked, nothing shown
    };
    for (const auto& c : cases) {
        recorder.boxes.clear();
        dlg.txtRecipients->setText(c.recipients);
        dlg.cmdSend_Click();
        finish(dlg);
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_EQ(recorder.boxes[0].text, c.text);
        EXPECT_EQ(recorder.boxes[0].title, c.title);
        EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Information);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(dlg.cmdSend->isEnabled() && dlg.cmdCancel->isEnabled());
        EXPECT_TRUE(dlg.cmdRecipients->isVisible() && dlg.txtRecipients->isVisible());
        EXPECT_FALSE(dlg.fraEmail->isVisible());
    }
    EXPECT_TRUE(server.received().isEmpty());
}

TEST_F(EmailDialog, RecipientsArePickedFromTheAddressBook)
{
    for (const char* name : {"Ann", "Bob", "Cy"})
        db::Query(DE.cn, "INSERT INTO CONTACTS (CONTACTNAME, CONTACTADDRESS) VALUES (?1, ?2)",
                  {QString(name), QString(name).toLower() + "@example.org"})
            .exec();
    frmEmail dlg;
    dlg.show();
    dlg.txtRecipients->setText("typed@example.org");
    {
        ModalAnswer<frmAddressBook> cancel([](frmAddressBook& book) {
            EXPECT_TRUE(book.bSelecting);
            EXPECT_EQ(book.lstvPeeps->topLevelItemCount(), 3);
            book.cmdCancel_Click();
        });
        dlg.cmdRecipients_Click();
    }
    EXPECT_EQ(dlg.txtRecipients->text(), "typed@example.org");
    {
        ModalAnswer<frmAddressBook> pick([](frmAddressBook& book) {
            book.lstvPeeps->topLevelItem(0)->setCheckState(0, Qt::Checked);
            book.lstvPeeps->topLevelItem(2)->setCheckState(0, Qt::Checked);
            book.cmdOk_Click();
        });
        dlg.cmdRecipients_Click();
    }
    EXPECT_EQ(dlg.txtRecipients->text(), "ann@example.org;cy@example.org");

    // Sent on to exactly those two: three marked recipes as one archive.
    for (const char* title : {"One", "Two", "Three"})
        recipe(title, true);
    dlg.optSendAs_Click(0);
    dlg.chkZip->setChecked(true);
    dlg.cmdSend_Click();
    finish(dlg);
    const QList<ReceivedMail> got = server.received();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].envelopeTo, "ann@example.org, cy@example.org");
    ASSERT_EQ(filenames(got[0]), (QStringList{"", "recipes.zip"}));
    EXPECT_EQ(readZip(got[0].parts[1].data).size(), 3);
}

// A server that takes the connection and never answers: the event loop keeps turning, only the dialog
// shows that it is busy, and Cancel brings the dialog back as it was; a second Cancel closes it.
TEST_F(EmailDialog, ASilentServerCanBeCancelledAndNothingTypedIsLost)
{
    ScriptedSmtp silent(ScriptedSmtp::Silent);
    ASSERT_TRUE(silent.running());
    WriteINI("Options", "SMTP Server", silent.host());
    display(recipe("Lemon Tart", false));
    frmEmail dlg;
    dlg.show();
    const QSize editingSize = dlg.size();
    dlg.txtRecipients->setText("ann@example.org");
    dlg.txtSubject->setText("Tarts");
    dlg.txtMsg->setPlainText("For Sunday");
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(5);

    dlg.cmdSend->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.lblStatus->text().startsWith("Connecting"); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 40; }, 5000)) << "the event loop stood still";
    EXPECT_TRUE(dlg.isSending());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(dlg.cursor().shape(), Qt::BusyCursor);
    EXPECT_TRUE(dlg.cmdCancel->isEnabled());

    dlg.cmdCancel->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.isSending(); }, 2000)) << "Cancel did not stop the send";
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_TRUE(dlg.txtRecipients->isVisible() && dlg.cmdSend->isEnabled() && !dlg.fraEmail->isVisible());
    EXPECT_EQ(dlg.size(), editingSize);
    EXPECT_EQ(dlg.txtRecipients->text(), "ann@example.org");
    EXPECT_EQ(dlg.txtSubject->text(), "Tarts");
    EXPECT_EQ(dlg.txtMsg->toPlainText(), "For Sunday");
    EXPECT_NE(dlg.cursor().shape(), Qt::BusyCursor);
    EXPECT_EQ(leftOver(), QStringList());

    dlg.cmdCancel->click();
    EXPECT_FALSE(dlg.isVisible());
}

// Every failure keeps the dialog open with what was typed, tells the reason in plain words (the server's
// own reply when it refused), and logs it. One refused recipient stops the whole mail.
TEST_F(EmailDialog, AFailedSendTellsTheServersReasonAndKeepsTheDialog)
{
    ScriptedSmtp refusing(ScriptedSmtp::RefuseRecipients, {"bad@example.org"});
    ScriptedSmtp rejectingData(ScriptedSmtp::RefuseData);
    ASSERT_TRUE(refusing.running() && rejectingData.running());
    const QString closed = SmtpServer::closedHost();
    recipe("Apple Pie", true, "apple.jpg", PictureBytes(2));
    const struct {
        const char* name;
        QString server;
        QStringList boxHolds;
        bool logged;
    } cases[] = {
        {"refused recipient", refusing.host(),
         {"bad@example.org", "550 5.1.1 <bad@example.org>: Recipient address rejected"}, true},
        {"data refused", rejectingData.host(), {"500 5.7.1 Message content rejected by policy"}, true},
        {"no server set", "", {"No mail server is set", "Preferences, Email"}, false},
        {"nobody listening", closed, {"Could not connect to the mail server " + closed + "."}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.boxes.clear();
        WriteINI("Options", "SMTP Server", c.server);
        const QString logBefore = program.errorLog();
        frmEmail dlg;
        send(dlg, Attachments, "ann@example.org;bad@example.org;cy@example.org");

        ASSERT_EQ(recorder.boxes.size(), 1);
        for (const QString& part : c.boxHolds)
            EXPECT_TRUE(recorder.boxes[0].text.contains(part)) << recorder.boxes[0].text.toStdString();
        EXPECT_FALSE(recorder.boxes[0].text.contains("Weird") || recorder.boxes[0].text.contains("RCPT failed"));
        EXPECT_EQ(program.errorLog().mid(logBefore.size()).contains("frmEmail cmdSend"), c.logged);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(dlg.txtRecipients->isVisible() && dlg.cmdSend->isEnabled());
        EXPECT_EQ(dlg.txtRecipients->text(), "ann@example.org;bad@example.org;cy@example.org");
        EXPECT_EQ(dlg.txtMsg->toPlainText(), "See <these>\nEnjoy");
        EXPECT_EQ(leftOver(), QStringList());
        if (c.server.isEmpty())
            EXPECT_EQ(basMain::lEmailCount, 0) << "pages were built with no server to send them to";
    }
    EXPECT_EQ(refusing.delivered() + rejectingData.delivered(), 0);
    EXPECT_TRUE(server.received().isEmpty());
}

// Enter in a box sends nothing: Send goes only when the user presses it. The zip box follows the
// attachment choice however it is made.
TEST_F(EmailDialog, EnterInABoxSendsNothingAndTheZipBoxFollowsTheChoice)
{
    display(recipe("Lemon Tart", false));
    frmEmail dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    for (QPushButton* button : dlg.findChildren<QPushButton*>())
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
    QTest::keyClicks(QApplication::focusWidget(), "ann@example.org");
    for (QWidget* box : std::initializer_list<QWidget*>{dlg.txtRecipients, dlg.txtSubject, dlg.txtRecipients}) {
        box->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        EXPECT_FALSE(dlg.isSending()) << box->objectName().toStdString();
    }
    EXPECT_EQ(dlg.txtRecipients->text(), "ann@example.org");
    EXPECT_TRUE(recorder.boxes.isEmpty());

    // Chosen without a click (the accessibility toggle): the zip box follows all the same.
    dlg.optSendAs[0]->setChecked(true);
    EXPECT_TRUE(dlg.chkZip->isEnabled());
    dlg.optSendAs[1]->setChecked(true);
    EXPECT_FALSE(dlg.chkZip->isEnabled());

    dlg.cmdSend->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(dlg.isSending());
    finish(dlg);
    EXPECT_EQ(boxTitles(), QStringList{"Success"});
    EXPECT_EQ(server.received().size(), 1);
}

// Esc and the close box ask before what was typed is thrown away ("No", the default, keeps it); an untouched
// dialog closes at once and Cancel closes without asking. The send options are one Tab stop, at the
// checked one.
TEST_F(EmailDialog, EscAsksBeforeTypedWorkIsLostAndTheOptionsAreOneTabStop)
{
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    };
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Esc");
        const auto leave = [&](frmEmail& dlg) {
            if (closeBox)
                dlg.close();
            else
                key(Qt::Key_Escape);
        };
        recorder.boxes.clear();
        frmEmail untouched;
        untouched.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&untouched));
        leave(untouched);
        EXPECT_FALSE(untouched.isVisible());
        EXPECT_TRUE(recorder.boxes.isEmpty());

        frmEmail dlg;
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        QTest::keyClicks(QApplication::focusWidget(), "ann@example.org");
        recorder.answers.enqueue(ui::Answer::No);
        leave(dlg);
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_EQ(recorder.boxes[0].buttons, ui::Buttons::YesNo);
        EXPECT_EQ(recorder.boxes[0].defaultButton, ui::DefaultButton::Second);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(dlg.txtRecipients->text(), "ann@example.org");
        recorder.answers.enqueue(ui::Answer::Yes);
        leave(dlg);
        EXPECT_FALSE(dlg.isVisible());
    }

    recorder.boxes.clear();
    frmEmail dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    dlg.txtMsg->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), "Enjoy");
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dlg.optSendAs[1]);
    key(Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), dlg.optSendAs[0]);
    EXPECT_TRUE(dlg.optSendAs[0]->isChecked());
    EXPECT_TRUE(dlg.chkZip->isEnabled());
    key(Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), dlg.txtMsg);
    dlg.cmdCancel->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

// Another instance is another process: its display neither empties nor replaces this one's page, so this
// one's e-mail sends its own recipe; a running instance's folder is left alone at start, one that ended
// takes its folder with it, and one that was killed has it removed by the next start.
TEST_F(EmailDialog, AnotherInstanceNeverTouchesThisOnesPages)
{
    const qint64 apple = recipe("Apple Pie", false);
    const qint64 bread = recipe("Bread", false);
    display(apple);
    const QString mine = pagefolder::path() + "/recipe.html";
    auto startOther = [&] {
        return std::make_unique<SecondProcess>(QStringList{"page", program.path(), basDatabase::sCurrentCookbook,
                                                           "R" + QString::number(bread)});
    };
    auto shownPage = [](SecondProcess& other) {
        const QString line = other.readLine();
        EXPECT_TRUE(line.startsWith("page ")) << line.toStdString();
        return line.mid(5);
    };
    auto other = startOther();
    const QString theirs = shownPage(*other);
    ASSERT_FALSE(theirs.isEmpty());
    EXPECT_NE(QFileInfo(theirs).path(), pagefolder::path());
    EXPECT_TRUE(readBytes(theirs).contains("<h1>Bread</h1>"));
    EXPECT_TRUE(readBytes(mine).contains("<h1>Apple Pie</h1>")) << "the other instance's display took this one's page";

    frmEmail dlg;
    send(dlg, Body, "ann@example.org");
    ASSERT_EQ(server.received().size(), 1);
    EXPECT_TRUE(server.received()[0].parts[0].data.contains("<h1>Apple Pie</h1>"));
    EXPECT_FALSE(server.received()[0].parts[0].data.contains("Bread"));

    pagefolder::removeStale(); // as a start beside the running instance does
    display(apple);
    EXPECT_TRUE(QFileInfo::exists(theirs));

    other->finish();
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(theirs).path())) << "an instance that ended left its folder";

    auto killed = startOther();
    const QString left = shownPage(*killed);
    killed->kill();
    ASSERT_TRUE(QFileInfo::exists(left));
    pagefolder::removeStale();
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(left).path()));
    EXPECT_TRUE(QFileInfo::exists(mine));
}

// E-mailing never removes the page on display: the displayed recipe goes twice in a row, and again after
// a mail of marked recipes.
TEST_F(EmailDialog, EmailingKeepsThePageOnDisplay)
{
    display(recipe("Lemon Tart", false, "tart.jpg", PictureBytes(1)));
    const qint64 marked = recipe("Apple Pie", true);
    const QString page = pagefolder::path() + "/recipe.html";
    const QByteArray shown = readBytes(page);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        recorder.boxes.clear();
        db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET MARK=?1 WHERE ID=?2", {round == 1 ? 1 : 0, marked}).exec();
        frmEmail dlg;
        send(dlg, Attachments, "ann@example.org");
        EXPECT_EQ(boxTitles(), QStringList{"Success"});
        EXPECT_EQ(readBytes(page), shown);
        EXPECT_TRUE(QFileInfo::exists(pagefolder::path() + "/tart.jpg"));
        EXPECT_FALSE(QFileInfo::exists(pagefolder::emailPath()));
    }
    const QList<ReceivedMail> got = server.received();
    ASSERT_EQ(got.size(), 3);
    EXPECT_TRUE(got[0].part("recipe.html") && got[0].part("recipe.html")->data.contains("Lemon Tart"));
    EXPECT_TRUE(got[1].part("recipe1.html") && got[1].part("recipe1.html")->data.contains("Apple Pie"));
    EXPECT_TRUE(got[2].part("recipe.html") && got[2].part("recipe.html")->data.contains("Lemon Tart"));
}

// Temporary files go after use: on a full disk neither the page on display nor an e-mail leaves a cut
// picture behind, and the e-mail's folder goes whatever the outcome.
TEST_F(EmailDialog, AFullDiskLeavesNoCutPicture)
{
    const QByteArray big(300 * 1024, 'p');
    const qint64 shown = recipe("Big Show", false, "show.jpg", big);
    recipe("Big Mail", true, "mail.jpg", big);
    SmallDisk disk(program.page(), 128);
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason.toStdString();

    EXPECT_EQ(WriteRecipePage("R" + QString::number(shown), false), "");
    EXPECT_FALSE(QFileInfo::exists(program.page("show.jpg")));

    // One fault, told once: one box naming the full disk, one record.
    recorder.boxes.clear();
    const qsizetype logged = program.errorLog().size();
    frmEmail dlg;
    send(dlg, Attachments, "ann@example.org");
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.contains("Disk full")) << recorder.boxes[0].text.toStdString();
    const QString record = program.errorLog().mid(logged);
    EXPECT_EQ(record.count("occurred in module"), 1) << record.toStdString();
    EXPECT_TRUE(record.contains("(61)") && record.contains("frmEmail cmdSend")) << record.toStdString();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(QFileInfo::exists(pagefolder::emailPath()));
    EXPECT_TRUE(server.received().isEmpty());
}

// Without a mail server the message offers Preferences, opened over the e-mail dialog on its Email page;
// what was typed stays, and once the server is set Send delivers it.
TEST_F(EmailDialog, NoServerOpensPreferencesAndKeepsWhatWasTyped)
{
    class PreferencesWindow final : public StubMainWindow {
    public:
        void ShowPreferences(int page, QWidget* parent) override
        {
            shown << qMakePair(page, parent);
            WriteINI("Options", "SMTP Server", host); // what the user enters there
        }
        QString host;
        QList<QPair<int, QWidget*>> shown;
    } preferences;
    preferences.host = server.host();
    display(recipe("Lemon Tart", false));
    WriteINI("Options", "SMTP Server", "");
    frmEmail dlg;
    dlg.show();
    dlg.txtRecipients->setText("ann@example.org");
    dlg.txtSubject->setText("Tarts");
    dlg.txtMsg->setPlainText("For Sunday");

    recorder.answers << ui::Answer::Cancel;
    dlg.cmdSend_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.contains("No mail server is set"));
    EXPECT_EQ(recorder.boxes[0].buttons, ui::Buttons::OKCancel);
    EXPECT_TRUE(preferences.shown.isEmpty());

    dlg.cmdSend_Click(); // OK this time
    ASSERT_EQ(preferences.shown.size(), 1);
    EXPECT_EQ(preferences.shown[0], qMakePair(1, static_cast<QWidget*>(&dlg)));
    EXPECT_TRUE(dlg.isVisible() && !dlg.isSending());
    EXPECT_EQ(dlg.txtRecipients->text(), "ann@example.org");
    EXPECT_EQ(dlg.txtSubject->text(), "Tarts");
    EXPECT_EQ(dlg.txtMsg->toPlainText(), "For Sunday");

    recorder.boxes.clear();
    dlg.cmdSend_Click();
    finish(dlg);
    EXPECT_EQ(boxTitles(), QStringList{"Success"});
    ASSERT_EQ(server.received().size(), 1);
    EXPECT_EQ(server.received()[0].subject, "Tarts");
}

// While the pages are written the bar moves with their count, not only once the mail goes out.
TEST_F(EmailDialog, TheBarMovesWithThePagesWritten)
{
    for (int i = 0; i < 40; ++i)
        recipe("Dish " + QString::number(i), true);
    frmEmail dlg;
    QList<QPair<int, int>> seen; // value, maximum
    QObject::connect(dlg.pBar, &QProgressBar::valueChanged, [&](int value) { seen << qMakePair(value, dlg.pBar->maximum()); });
    send(dlg, Zip, "ann@example.org");
    EXPECT_TRUE(seen.contains(qMakePair(40, 40)));
    EXPECT_EQ(boxTitles(), QStringList{"Success"});
}


// Every local image a mailed page shows travels with it (the template's logo before the recipe's picture,
// and a picture whose stored name would break the page); a reference to a file that is not there is
// dropped; no path of the sender's machine is left in what arrives, and each page's only image attributes
// are the template's.
TEST_F(EmailDialog, EveryImageOfAMailedPageTravelsWithItAndNoPathLeaves)
{
    QImage logo(8, 8, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(program.path("templates/logo.png")));
    const QByteArray logoBytes = readBytes(program.path("templates/logo.png"));
    writeBytes(program.path("templates/logo.html"),
               "<html><body><img src=\"" + program.path("templates/logo.png").toUtf8() + "\" width=\"80\">"
               "<img src=\"file://" + program.path("templates/gone.png").toUtf8() + "\" alt=\"\"><img src=\"local.png\">"
               "<img src='http://example.com/x.png'><h1>%title%</h1>"
               "<!--PICSTART--><img src=\"%picture%\" alt=\"%title%\"><!--PICEND-->%instructions%</body></html>");
    basMain::sTemplatePath = program.path("templates/logo.html");
    const QString injected = "p.jpg\" onerror=\"document.title='X'\" x=\"'";
    const QByteArray cake = PictureBytes(3);

    // What a page that arrived shows for each image: its attribute names, and the bytes its source names.
    const auto images = [&](const QByteArray& page, const std::function<QByteArray(const QString&)>& bytesOf) {
        EXPECT_FALSE(page.contains(program.path().toUtf8())) << "no local path leaves";
        QStringList shown;
        for (const TagAttributes& img : TagsOf(page, "img")) {
            const QString src = ValueOf(img, "src");
            const QByteArray bytes = src.isEmpty() ? QByteArray() : src.startsWith("http:") ? QByteArray("web") : bytesOf(src);
            shown << NamesOf(img).join(',') + (bytes == logoBytes ? " logo" : bytes == cake ? " cake" : bytes.isEmpty() ? "" : " web");
        }
        return shown;
    };
    const QStringList expected{"src,width logo", "alt", "", "src web", "src,alt cake"};

    for (Mode mode : {Body, Attachments}) {
        SCOPED_TRACE(mode == Body ? "body" : "attachments");
        const qsizetype before = server.received().size();
        display(recipe(mode == Body ? "Lemon Tart" : "Plum Tart", false, injected, cake));
        frmEmail dlg;
        send(dlg, mode);
        ASSERT_EQ(server.received().size(), before + 1);
        const ReceivedMail m = server.received().last();
        if (mode == Body) {
            ASSERT_EQ(m.parts.size(), 3) << "the page and two related parts";
            EXPECT_EQ(images(m.parts[0].data, [&](const QString& src) {
                for (const ReceivedPart& p : m.parts)
                    if (!p.contentId.isEmpty() && src == "cid:" + p.contentId)
                        return p.data;
                return QByteArray();
            }), expected);
        } else {
            const ReceivedPart* page = m.part("recipe.html");
            ASSERT_NE(page, nullptr);
            EXPECT_EQ(m.parts.size(), 4);
            EXPECT_EQ(images(page->data, [&](const QString& src) {
                return m.part(src) ? m.part(src)->data : QByteArray();
            }), expected);
        }
    }

    // Marked recipes, as attachments and packed: each page beside its images, the logo once.
    program.createCookbook("Marked");
    recipe("Apple Pie", true, injected, cake);
    recipe("Bread", true, "bread.jpg", cake);
    for (Mode mode : {Attachments, Zip}) {
        SCOPED_TRACE(mode == Zip ? "zip" : "attachments");
        const qsizetype before = server.received().size();
        frmEmail dlg;
        send(dlg, mode);
        ASSERT_EQ(server.received().size(), before + 1);
        const ReceivedMail m = server.received().last();
        QMap<QString, QByteArray> files;
        if (mode == Zip) {
            ASSERT_EQ(m.parts.size(), 2);
            for (const auto& [name, bytes] : readZip(m.parts[1].data))
                files[name] = bytes;
        } else {
            for (const ReceivedPart& p : m.parts)
                if (!p.filename.isEmpty()) {
                    EXPECT_FALSE(files.contains(p.filename)) << p.filename.toStdString();
                    files[p.filename] = p.data;
                }
        }
        EXPECT_EQ(files.size(), 5) << QStringList(files.keys()).join(", ").toStdString();
        for (const QString page : {"recipe1.html", "recipe2.html"})
            EXPECT_EQ(images(files.value(page), [&](const QString& src) { return files.value(src); }), expected) << page.toStdString();
    }
}

// A recipe of 5 MB arrives whole, without the view's break characters, in the message body and attached.
TEST_F(EmailDialog, TheMailedPageHoldsTheWholeStoredRecipe)
{
    writeBytes(program.path("templates/plain.html"), "<html><body><p>%instructions%</p></body></html>");
    basMain::sTemplatePath = program.path("templates/plain.html");
    const QString link = "https://example.org/" + QString("a-very-long-recipe-name-").repeated(12) + "?id=1&x=2";
    const QString line = QString::fromUtf8("Stir the Żurek, see ") + link + "\r\n";
    const QString stored = line.repeated(5 * 1024 * 1024 / line.size());
    const qint64 id = recipe("Long", false);
    db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET INSTRUCTIONS=?1 WHERE ID=?2", {stored, id}).exec();
    display(id);
    const auto storedText = [](const QByteArray& page) {
        QString text = QString::fromUtf8(page);
        const qsizetype start = text.indexOf("<p>") + 3, end = text.indexOf("\r\n\r\n<hr></p>");
        text = text.mid(start, end - start).replace("<br>", "\r\n").replace("&amp;", "&");
        return text;
    };
    for (Mode mode : {Body, Attachments}) {
        SCOPED_TRACE(mode == Body ? "body" : "attachments");
        const qsizetype before = server.received().size();
        frmEmail dlg;
        send(dlg, mode);
        ASSERT_EQ(server.received().size(), before + 1);
        const ReceivedMail m = server.received().last();
        const ReceivedPart* page = mode == Body ? &m.parts[0] : m.part("recipe.html");
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(storedText(page->data), stored);
    }
}

} // namespace
