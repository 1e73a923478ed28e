#include "browser/frmOptions.h"

#include "BrowserFixture.h"
#include "core/Settings.h"
#include "core/basMain.h"
#include "exchange/frmAddressBook.h"
#include "support/ModalAnswer.h"
#include "support/Keyboard.h"
#include "support/SecondProcess.h"

#include <QCheckBox>
#include <QProcess>
#include <QPushButton>
#include <QFrame>
#include <QLineEdit>
#include <QTextBrowser>

namespace {

class Preferences : public BrowserTest {
protected:
    // The [Options] lines of the settings file, as "key=value", CR LF or LF alike.
    QStringList optionLines() const
    {
        QStringList out;
        bool inOptions = false;
        for (QString line : QString::fromUtf8(readBytes(program.path("TQSettings.ini"))).split('\n')) {
            line.remove('\r');
            if (line.startsWith('['))
                inOptions = line == "[Options]";
            else if (inOptions && !line.isEmpty())
                out << line;
        }
        out.sort();
        return out;
    }

    static QList<QCheckBox*> checks(const frmOptions& dlg)
    {
        return {dlg.chkDisplaySplash, dlg.chkOpenLast,   dlg.chkClearMarked,
                dlg.chkImportDirect,  dlg.chkImportPlay, dlg.chkPlayNotRec};
    }
    static QList<QLineEdit*> texts(const frmOptions& dlg)
    {
        return {dlg.txtSMTP, dlg.txtUserName, dlg.txtEmailAddress, dlg.txtImportSound, dlg.txtImportNotSound};
    }
    QString standardTemplate() const { return program.path("templates/default.html"); }
};

TEST_F(Preferences, WithNothingStoredOkWritesOnlyWhatTheUserChanged)
{
    frmOptions dlg;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Preferences");
    EXPECT_TRUE(dlg.fraOptions[0]->isVisible());
    EXPECT_FALSE(dlg.fraOptions[1]->isVisible());
    EXPECT_FALSE(dlg.fraOptions[2]->isVisible());
    EXPECT_EQ(dlg.txtDisplayTemplate->text(), standardTemplate());
    // The splash screen is shown unless the key reads "False", and the box says so.
    for (QCheckBox* c : checks(dlg))
        EXPECT_EQ(c->isChecked(), c == dlg.chkDisplaySplash) << c->objectName().toStdString();
    for (QLineEdit* t : texts(dlg))
        EXPECT_EQ(t->text(), "") << t->objectName().toStdString();

    dlg.cmdOk_Click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(QFile::exists(program.path("TQSettings.ini"))) << "nothing was changed, nothing is written";

    // A box changed and changed back counts as unchanged.
    frmOptions again;
    again.chkDisplaySplash->setChecked(false);
    again.txtSMTP->setText("mail.example.org");
    again.txtUserName->setText("x");
    again.txtUserName->setText("");
    again.cmdOk_Click();
    EXPECT_EQ(optionLines(), (QStringList{"Display Splash Screen=False", "SMTP Server=mail.example.org"}));
    EXPECT_EQ(basMain::sTemplatePath, "") << "the template was not changed here";
}

TEST_F(Preferences, LoadsASettingsFileWrittenOnWindowsAndWritesBackWhatWasChanged)
{
    writeBytes(program.path("templates/plain.html"), "<p>%title%</p>");
    writeSettings("[Size]\r\nMain Window Left=120\r\n"
                  "[Options]\r\nHTML Template=" + program.path("templates/plain.html").toUtf8() + "\r\n"
                  "Display Splash Screen=True\r\nOpen Last=true\r\nClear Checked=True\r\n"
                  "SMTP Server=mail.example.org\r\nSenders Name=J\xfcrgen M\xfcller\r\n"
                  "Senders Email=j@example.org\r\nImport Recognised=True\r\nPlay Recognised Sound=False\r\n"
                  "Play Not Recognised=1\r\nRecognised Sound=C:\\Sounds\\ding.wav\r\n"
                  "Last CookBook=Family.tqc\r\n");
    frmOptions dlg;
    EXPECT_EQ(dlg.txtDisplayTemplate->text(), program.path("templates/plain.html"));
    QStringList checked;
    for (QCheckBox* c : checks(dlg))
        if (c->isChecked())
            checked << c->objectName();
    // Only an exact "True" checks a box.
    EXPECT_EQ(checked, (QStringList{"chkDisplaySplash", "chkClearMarked", "chkImportDirect"}));
    EXPECT_EQ(dlg.txtSMTP->text(), "mail.example.org");
    EXPECT_EQ(dlg.txtUserName->text(), QString::fromUtf8("J\u00fcrgen M\u00fcller"));
    EXPECT_EQ(dlg.txtEmailAddress->text(), "j@example.org");
    EXPECT_EQ(dlg.txtImportSound->text(), "C:\\Sounds\\ding.wav");
    EXPECT_EQ(dlg.txtImportNotSound->text(), "");

    dlg.chkOpenLast->setChecked(true);
    dlg.chkPlayNotRec->setChecked(true);
    dlg.chkClearMarked->setChecked(false);
    dlg.cmdOk_Click();
    EXPECT_EQ(ReadINI("Options", "Open Last"), "True");
    EXPECT_EQ(ReadINI("Options", "Play Not Recognised"), "True");
    EXPECT_EQ(ReadINI("Options", "Clear Checked"), "False");
    EXPECT_EQ(ReadINI("Options", "Senders Name"), QString::fromUtf8("J\u00fcrgen M\u00fcller"));
    EXPECT_EQ(ReadINI("Options", "Last CookBook"), "Family.tqc") << "keys of others are kept";
    EXPECT_EQ(ReadINI("Size", "Main Window Left"), "120");

    // What OK wrote reads back into the same controls.
    {
        frmOptions reread;
        for (int i = 0; i < checks(dlg).size(); ++i)
            EXPECT_EQ(checks(reread)[i]->isChecked(), checks(dlg)[i]->isChecked()) << i;
        for (int i = 0; i < texts(dlg).size(); ++i)
            EXPECT_EQ(texts(reread)[i]->text(), texts(dlg)[i]->text()) << i;
        EXPECT_EQ(reread.txtDisplayTemplate->text(), dlg.txtDisplayTemplate->text());
    }

    // A stored template whose file is gone is shown as the standard one; choosing another stores it.
    QFile::remove(program.path("templates/plain.html"));
    frmOptions again;
    EXPECT_EQ(again.txtDisplayTemplate->text(), standardTemplate());
    again.txtDisplayTemplate->setText(program.path("templates/mine.html"));
    again.cmdOk_Click();
    EXPECT_EQ(ReadINI("Options", "HTML Template"), program.path("templates/mine.html"));
    EXPECT_EQ(basMain::sTemplatePath, program.path("templates/mine.html"));
}

TEST_F(Preferences, TwoInstancesWritingTheSettingsLoseNothing)
{
    // Another instance stores keys one write after another while this one does the same.
    QProcess other;
    ASSERT_TRUE(startSecondInstance(other, {"write-settings", program.path("TQSettings.ini"), "Size", "B ", "150"}));
    for (int i = 0; i < 150; ++i)
        WriteINI("Size", "A " + QString::number(i), QString::number(i));
    ASSERT_TRUE(other.waitForFinished(60000));
    EXPECT_EQ(other.exitCode(), 0);
    QStringList lost;
    for (const QString prefix : {"A ", "B "})
        for (int i = 0; i < 150; ++i)
            if (ReadINI("Size", prefix + QString::number(i)) != QString::number(i))
                lost << prefix + QString::number(i);
    EXPECT_TRUE(lost.isEmpty()) << lost.join(", ").toStdString();

    // This window's Preferences were open while the other instance changed the e-mail settings: OK
    // stores only what was changed here, and the other instance's values stay.
    WriteINI("Options", "SMTP Server", "old.example.org");
    frmOptions dlg;
    dlg.show();
    QProcess changer;
    ASSERT_TRUE(startSecondInstance(changer, {"set-setting", program.path("TQSettings.ini"), "Options", "SMTP Server",
                                              "new.example.org"}));
    ASSERT_TRUE(changer.waitForFinished(60000));
    EXPECT_EQ(changer.exitCode(), 0);
    dlg.chkOpenLast->setChecked(true);
    dlg.cmdOk_Click();
    EXPECT_EQ(ReadINI("Options", "Open Last"), "True");
    EXPECT_EQ(ReadINI("Options", "SMTP Server"), "new.example.org");
    EXPECT_EQ(ReadINI("Size", "B 149"), "149");
}

TEST_F(Preferences, CancelWritesNothing)
{
    writeSettings("[Options]\r\nSMTP Server=old\r\nOpen Last=False\r\n");
    const QByteArray before = readBytes(program.path("TQSettings.ini"));
    basMain::sTemplatePath = "kept";
    frmOptions dlg;
    dlg.show();
    for (QCheckBox* c : checks(dlg))
        c->setChecked(true);
    const QList<QLineEdit*> boxes = texts(dlg) << dlg.txtDisplayTemplate;
    for (QLineEdit* t : boxes)
        t->setText("changed");
    dlg.cmdCancel_Click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(readBytes(program.path("TQSettings.ini")), before);
    EXPECT_EQ(basMain::sTemplatePath, "kept");
}

TEST_F(Preferences, BrowseFillsTheBoxOnlyWhenAFileIsChosen)
{
    frmOptions dlg;
    dlg.txtImportSound->setText("before.wav");
    dlg.cmdBrowse_Click(0); // cancelled
    EXPECT_EQ(dlg.txtImportSound->text(), "before.wav");
    recorder.files << QStringList{"/sounds/not.wav"} << QStringList{program.path("templates/mine.html")};
    dlg.cmdBrowse_Click(1);
    dlg.cmdBrowse_Click(2);
    EXPECT_EQ(dlg.txtImportNotSound->text(), "/sounds/not.wav");
    EXPECT_EQ(dlg.txtDisplayTemplate->text(), program.path("templates/mine.html"));

    ASSERT_EQ(recorder.dialogs.size(), 3);
    EXPECT_EQ(recorder.dialogs[0].title, "Please select a sound to play");
    EXPECT_EQ(recorder.dialogs[0].folder, "") << "every browse starts with no file name";
    EXPECT_TRUE(recorder.dialogs[0].filter.startsWith("Wav Files (*.wav)"));
    EXPECT_EQ(recorder.dialogs[2].title, "Please select a default HTML display template");
    EXPECT_EQ(recorder.dialogs[2].folder, program.path("templates"));
    EXPECT_TRUE(recorder.dialogs[2].filter.startsWith("HTML Files (*.html)"));
}

TEST_F(Preferences, OkShowsTheSelectedRecipeThroughTheNewTemplate)
{
    auto w = openWindow(makeCookbook());
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    writeBytes(program.path("templates/bold.html"), "<h1>NEW %title%</h1>");

    // No recipe selected: the keys are written and nothing is shown again.
    {
        frmOptions dlg;
        dlg.txtDisplayTemplate->setText(program.path("templates/bold.html"));
        dlg.cmdOk_Click();
        EXPECT_FALSE(QFile::exists(program.page("recipe.html")));
    }
    listItem(w->lstVRecipes(), "Beef Stew")->select();
    {
        frmOptions dlg;
        dlg.txtDisplayTemplate->setText(standardTemplate());
        dlg.cmdOk_Click();
    }
    EXPECT_FALSE(readBytes(program.page("recipe.html")).contains("NEW Beef Stew"));
    {
        frmOptions dlg;
        EXPECT_EQ(dlg.txtDisplayTemplate->text(), standardTemplate());
        dlg.txtDisplayTemplate->setText(program.path("templates/bold.html"));
        dlg.cmdOk_Click();
    }
    EXPECT_EQ(basMain::sTemplatePath, program.path("templates/bold.html"));
    EXPECT_TRUE(readBytes(program.page("recipe.html")).contains("NEW Beef Stew"));
    EXPECT_EQ(w->locationName(), "recipe.html");
    EXPECT_EQ(program.errorLog(), "");
}

} // namespace

TEST_F(Preferences, ContactManagerOpensTheAddressBookAsAPlainEditor)
{
    frmOptions dlg;
    dlg.show();
    bool selecting = true;
    {
        ModalAnswer<frmAddressBook> answer([&](frmAddressBook& book) { selecting = book.bSelecting; });
        dlg.cmdContacts_Click();
    }
    EXPECT_FALSE(selecting);
    EXPECT_TRUE(dlg.isVisible());
}

namespace {

TEST_F(Preferences, OpensOnItsFirstBoxShowsTheSplashAsUsedAndEnterInABoxWritesNothing)
{
    for (const auto& [stored, shown] : {std::pair{QByteArray(), true},
                                        std::pair{QByteArray("Display Splash Screen=False\n"), false},
                                        std::pair{QByteArray("Display Splash Screen=True\n"), true}}) {
        SCOPED_TRACE(stored.toStdString());
        writeSettings("[Options]\n" + stored);
        const QByteArray before = readBytes(program.path("TQSettings.ini"));
        frmOptions dlg;
        keyboard::showActive(dlg);
        EXPECT_EQ(dlg.chkDisplaySplash->isChecked(), shown);
        EXPECT_EQ(keyboard::focused(), dlg.txtDisplayTemplate);
        EXPECT_FALSE(dlg.cmdOK->isDefault());

        keyboard::press(Qt::Key_Return);
        EXPECT_TRUE(dlg.isVisible()) << "Enter in a box presses no button";
        ASSERT_TRUE(keyboard::tabTo(dlg.chkDisplaySplash));
        keyboard::press(Qt::Key_Enter);
        EXPECT_TRUE(dlg.isVisible());

        // OK from the keyboard with nothing changed leaves the file as it was.
        ASSERT_TRUE(keyboard::tabTo(dlg.cmdOK));
        keyboard::press(Qt::Key_Return);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(readBytes(program.path("TQSettings.ini")), before);
    }
}

// Tab goes round the window as it is seen, on every page: the page buttons at the top first, then the
// page's boxes top to bottom, then OK and Cancel, and from there back to the page buttons.
TEST_F(Preferences, TabFollowsTheScreenFromThePageButtons)
{
    frmOptions dlg;
    keyboard::showActive(dlg);
    const QList<QList<QWidget*>> pages = {
        {dlg.txtDisplayTemplate, dlg.cmdBrowse[2], dlg.chkOpenLast, dlg.chkDisplaySplash, dlg.chkClearMarked},
        {dlg.txtSMTP, dlg.txtUserName, dlg.txtEmailAddress, dlg.cmdContacts},
        {dlg.chkImportDirect, dlg.chkImportPlay, dlg.txtImportSound, dlg.cmdBrowse[0], dlg.chkPlayNotRec,
         dlg.txtImportNotSound, dlg.cmdBrowse[1]}};
    for (int page = 0; page < pages.size(); ++page) {
        SCOPED_TRACE(page);
        dlg.cmdAction_Click(page);
        dlg.cmdAction[0]->setFocus(Qt::TabFocusReason);
        QList<QWidget*> expected = {dlg.cmdAction[0], dlg.cmdAction[1], dlg.cmdAction[2]};
        expected << pages[page] << dlg.cmdOK << dlg.cmdCancel << dlg.cmdAction[0];
        QList<QWidget*> seen = {keyboard::focused()};
        for (int i = 1; i < expected.size(); ++i) {
            keyboard::press(Qt::Key_Tab);
            seen << keyboard::focused();
        }
        QStringList names;
        for (QWidget* w : seen)
            names << (w ? w->objectName() : "none");
        EXPECT_EQ(seen, expected) << names.join(" ").toStdString();
    }
}

} // namespace
