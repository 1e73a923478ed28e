#include "exchange/frmAddressBook.h"

#include "core/DE.h"
#include "core/MainWindow.h"
#include "support/ScratchProgram.h"
#include "support/UiRecorder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class AddressBook : public ::testing::Test {
protected:
    void add(frmAddressBook& book, const QString& name, const QString& address)
    {
        book.txtName->setText(name);
        book.txtAddress->setText(address);
        book.cmdAdd_Click();
    }
    static QStringList listed(const frmAddressBook& book)
    {
        QStringList rows;
        for (int i = 0; i < book.lstvPeeps->topLevelItemCount(); ++i)
            rows << book.lstvPeeps->topLevelItem(i)->text(0) + " | " + book.lstvPeeps->topLevelItem(i)->text(1);
        return rows;
    }
    static QStringList stored()
    {
        QStringList rows;
        db::Query q(DE.cn, "SELECT CONTACTNAME, CONTACTADDRESS FROM CONTACTS ORDER BY ID");
        while (q.next())
            rows << q.text("CONTACTNAME") + " | " + q.text("CONTACTADDRESS");
        return rows;
    }
    static void select(frmAddressBook& book, int row)
    {
        book.lstvPeeps->setCurrentItem(book.lstvPeeps->topLevelItem(row));
        book.lstvPeeps_ItemClick();
    }

    ScratchProgram program;
    UiRecorder recorder;
};

TEST_F(AddressBook, AddsContactsAsTypedAndListsThemByName)
{
    frmAddressBook book;
    book.show();
    EXPECT_EQ(book.lstvPeeps->topLevelItemCount(), 0);
    EXPECT_EQ(book.lstvPeeps->headerItem()->text(0), "Name");
    EXPECT_EQ(book.lstvPeeps->headerItem()->text(1), "Email Address");
    EXPECT_TRUE(book.cmdClose->isVisible());
    EXPECT_FALSE(book.cmdOk->isVisible() || book.cmdCancel->isVisible());

    add(book, "Zoe", "zoe@example.org");
    add(book, "Miles O'Brien", "o'brien@example.org");
    add(book, "anna", "anna@example.org");
    EXPECT_EQ(listed(book), (QStringList{"anna | anna@example.org", "Miles O'Brien | o'brien@example.org", "Zoe | zoe@example.org"}));
    EXPECT_EQ(stored(), (QStringList{"Zoe | zoe@example.org", "Miles O'Brien | o'brien@example.org", "anna | anna@example.org"}));
    EXPECT_TRUE(book.txtName->text().isEmpty() && book.txtAddress->text().isEmpty());
    EXPECT_TRUE(recorder.boxes.isEmpty());

    // Missing fields are refused; text longer than a column is cut to fit.
    const struct {
        QString name, address, message;
    } refused[] = {{"", "x@example.org", "Please enter a name"}, {"Xavier", "", "Please enter an email address"}};
    for (const auto& c : refused) {
        recorder.boxes.clear();
        add(book, c.name, c.address);
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_EQ(recorder.boxes[0].text, c.message);
        EXPECT_EQ(recorder.boxes[0].title, "Oops");
        EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Information);
    }
    EXPECT_EQ(stored().size(), 3);

    // In the user's dictionary order, a name with an accented first letter among the others.
    add(book, "Émile", "emile@example.org");
    EXPECT_EQ(listed(book), (QStringList{"anna | anna@example.org", "Émile | emile@example.org",
                                         "Miles O'Brien | o'brien@example.org", "Zoe | zoe@example.org"}));
    add(book, QString(150, 'n'), "long@example.org");
    EXPECT_EQ(stored().last(), QString(100, 'n') + " | long@example.org");
}

TEST_F(AddressBook, ClickFillsTheBoxesAndDeleteAsksFirst)
{
    frmAddressBook book;
    book.show();
    add(book, "Ann", "ann@example.org");
    add(book, "Bob", "bob@example.org");

    select(book, 1);
    EXPECT_EQ(book.txtName->text(), "Bob");
    EXPECT_EQ(book.txtAddress->text(), "bob@example.org");
    book.cmdClear_Click();
    EXPECT_TRUE(book.txtName->text().isEmpty() && book.txtAddress->text().isEmpty());
    EXPECT_TRUE(book.lstvPeeps->selectedItems().isEmpty());

    book.cmdDelete_Click(); // nothing selected: nothing asked, nothing deleted
    EXPECT_TRUE(recorder.boxes.isEmpty());

    select(book, 0);
    recorder.answers << ui::Answer::No;
    book.cmdDelete_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "Delete Ann?");
    EXPECT_EQ(recorder.boxes[0].title, "Delete Confirmation");
    EXPECT_EQ(recorder.boxes[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(recorder.boxes[0].defaultButton, ui::DefaultButton::Second);
    EXPECT_EQ(stored().size(), 2);

    select(book, 0);
    recorder.answers << ui::Answer::Yes;
    book.cmdDelete_Click();
    EXPECT_EQ(stored(), QStringList{"Bob | bob@example.org"});
    EXPECT_EQ(listed(book), QStringList{"Bob | bob@example.org"});
}

TEST_F(AddressBook, SelectingHandsBackTheTickedAddressesInListOrder)
{
    for (const char* name : {"Dan", "Ann", "Cy", "Bea"})
        db::Query(DE.cn, "INSERT INTO CONTACTS (CONTACTNAME, CONTACTADDRESS) VALUES (?1, ?2)",
                  {QString(name), QString(name).toLower() + "@example.org"})
            .exec();
    frmAddressBook book;
    book.bSelecting = true;
    book.ListContacts();
    book.show();
    EXPECT_TRUE(book.cmdOk->isVisible() && book.cmdCancel->isVisible());
    EXPECT_FALSE(book.cmdClose->isVisible());

    book.cmdOk_Click();
    EXPECT_EQ(book.sRecipients, "");
    EXPECT_EQ(book.result(), QDialog::Accepted);

    // Ticks survive adding a contact; the second and fourth of the list are picked.
    book.lstvPeeps->topLevelItem(1)->setCheckState(0, Qt::Checked);
    add(book, "Aaron", "aaron@example.org");
    EXPECT_EQ(book.lstvPeeps->topLevelItem(2)->text(0), "Bea");
    EXPECT_EQ(book.lstvPeeps->topLevelItem(2)->checkState(0), Qt::Checked);
    book.lstvPeeps->topLevelItem(4)->setCheckState(0, Qt::Checked);
    book.cmdOk_Click();
    EXPECT_EQ(book.sRecipients, "bea@example.org;dan@example.org");
}

TEST_F(AddressBook, DatabaseFailuresAreLogged)
{
    frmAddressBook book;
    DE.cn.exec("DROP TABLE CONTACTS");
    add(book, "Ann", "ann@example.org");
    book.ListContacts();
    EXPECT_TRUE(program.errorLog().contains("frmAddressBook cmdAdd"));
    EXPECT_TRUE(program.errorLog().contains("frmAddressBook ListContacts"));
}

} // namespace
